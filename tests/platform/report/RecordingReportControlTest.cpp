#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "platform/report/RecordingReportControl.h"

using namespace report;

TEST(RecordingReportControl, RecordsEveryCallWithItsArguments) {
  RecordingReportControl c;
  QString file = QStringLiteral("C:\\Formulare\\Rechnung.lst");
  c.SetPrinterDefaultsDir(QStringLiteral("C:\\Lokal\\"));
  c.DefineReportField(QStringLiteral("Zeilentyp"), QStringLiteral("Position"), kTypeText);
  c.DefineReportVariable(QStringLiteral("Titel"), QStringLiteral("Sag \"Ja\""), 0x10000001);
  c.StartPrintJob(kProjectList, file, kToStorage);
  c.StartPrintJobWithBox(kProjectList, file, 0xB00, 2, nullptr, QStringLiteral("Druckausgabe"));
  c.SetExportParameter(1, QStringLiteral("PDF"), QStringLiteral("Export.Quiet"), QStringLiteral("1"));
  c.PrintFields();
  c.EndPrint(0);
  EXPECT_EQ(c.calls(), (QStringList{
                           QStringLiteral("SetPrinterDefaultsDir(\"C:\\Lokal\\\")"),
                           QStringLiteral("DefineReportField(\"Zeilentyp\", \"Position\", 0x10000000)"),
                           QStringLiteral("DefineReportVariable(\"Titel\", \"Sag \"\"Ja\"\"\", 0x10000001)"),
                           QStringLiteral("StartPrintJob(2, \"C:\\Formulare\\Rechnung.lst\", 0x200)"),
                           QStringLiteral("StartPrintJobWithBox(2, \"C:\\Formulare\\Rechnung.lst\", 0xB00, 2, 0, \"Druckausgabe\")"),
                           QStringLiteral("SetExportParameter(1, \"PDF\", \"Export.Quiet\", \"1\")"),
                           QStringLiteral("PrintFields()"),
                           QStringLiteral("EndPrint(0)"),
                       }));
  EXPECT_EQ(c.callsOf(QStringLiteral("PrintFields")).size(), 1);
  EXPECT_EQ(c.field(QStringLiteral("ZEILENTYP")), QStringLiteral("Position"));
  c.StartFields();
  EXPECT_TRUE(c.field(QStringLiteral("Zeilentyp")).isEmpty());
}

TEST(RecordingReportControl, PageFullAfterTheScriptedRowsUntilVariablesArePrinted) {
  RecordingReportControl c;
  c.setRowsPerPage(2);
  EXPECT_EQ(c.PrintFields(), kOk);
  EXPECT_EQ(c.PrintFields(), kOk);
  EXPECT_EQ(c.PrintFields(), kPageFull);
  EXPECT_EQ(c.PrintFields(), kPageFull);
  EXPECT_EQ(c.PrintVariables(), kOk);
  EXPECT_EQ(c.PrintFields(), kOk);
  EXPECT_EQ(c.callsOf(QStringLiteral("PrintFields")).size(), 5);
}

TEST(RecordingReportControl, QueuedAnswersComeFirstThenFixedOnesThenDefaults) {
  RecordingReportControl c;
  c.queueStatus(QStringLiteral("StartPrintJob"), kUserAbort);
  c.setStatus(QStringLiteral("StoragePageCount"), 3);
  QString file = QStringLiteral("a.lst");
  EXPECT_EQ(c.StartPrintJob(kProjectList, file, kToStorage), kUserAbort);
  EXPECT_EQ(c.StartPrintJob(kProjectList, file, kToStorage), kOk);
  EXPECT_EQ(c.StoragePageCount(1), 3);
  EXPECT_EQ(c.OpenStorage(QStringLiteral("a.LL"), {}, 1, 0), 1);
  EXPECT_EQ(c.OpenStorage(QStringLiteral("b.LL"), {}, 1, 0), 2);
  c.queueStatus(QStringLiteral("OpenStorage"), kFileError);
  EXPECT_EQ(c.OpenStorage(QStringLiteral("c.LL"), {}, 1, 0), kFileError);
  EXPECT_EQ(c.OpenStorage(QStringLiteral("d.LL"), {}, 1, 0), 3);
}

TEST(RecordingReportControl, FileDialogsLeaveTheScriptedFile) {
  RecordingReportControl c;
  QString file = QStringLiteral("alt.lst");
  EXPECT_EQ(c.SelectFileDialog(nullptr, kProjectList, file), kUserAbort);
  EXPECT_EQ(file, QStringLiteral("alt.lst"));
  c.setSelectedFile(QStringLiteral("neu.lst"));
  EXPECT_EQ(c.SelectFileDialog(nullptr, kProjectList, file), kOk);
  EXPECT_EQ(file, QStringLiteral("neu.lst"));
  c.setDesignedFile(QStringLiteral("entwurf.lst"));
  EXPECT_EQ(c.DesignLayout(nullptr, QStringLiteral("Rechnungsentwurf"), kProjectList, file), kOk);
  EXPECT_EQ(file, QStringLiteral("entwurf.lst"));
  EXPECT_EQ(c.calls().last(), QStringLiteral("DesignLayout(0, \"Rechnungsentwurf\", 2, \"neu.lst\")"));
  QImage img(4, 4, QImage::Format_ARGB32);
  QPainter p(&img);
  c.DrawStoragePage(1, p, 2);
  EXPECT_EQ(c.calls().last(), QStringLiteral("DrawStoragePage(1, painter, 2)"));
}
