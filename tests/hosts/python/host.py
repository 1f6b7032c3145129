#!/usr/bin/python3
"""A host of the print engine in Python, written from docs/hosts.md and the installed files
alone: it talks to the engine over the session bus with python3-dbus and serves record sets of
its own to it. Each answer goes to stdout as one "Name=Wert" line.

    host.py <prefix> <work folder>
"""
import datetime
import os
import shutil
import sqlite3
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

DBusGMainLoop(set_as_default=True)
BUS = dbus.SessionBus()
OBJECT = "de.automation.Object"
METHOD, GET, LET, SET = 0, 1, 2, 3


class EngineError(Exception):
    """A run-time error: "<number>\t<source>\t<description>"."""

    def __init__(self, message):
        super().__init__(message)
        self.number = int(message.split("\t")[0])


class Ref:
    def __init__(self, name, path):
        self.name, self.path = str(name), str(path)


def value(x):
    """A Python value as the wire's (yv): VarType code and value."""
    if x is None:
        code, v = 0, dbus.Int32(0)
    elif isinstance(x, bool):
        code, v = 11, dbus.Boolean(x)
    elif isinstance(x, int):
        code, v = 3, dbus.Int32(x)
    elif isinstance(x, float):
        code, v = 5, dbus.Double(x)
    elif isinstance(x, datetime.date):
        code, v = 7, dbus.Double((x - datetime.date(1899, 12, 30)).days)
    elif isinstance(x, Ref):
        code, v = 9, dbus.Struct((x.name, dbus.ObjectPath(x.path)), signature="so")
    else:
        code, v = 8, dbus.String(x)
    return dbus.Struct((dbus.Byte(code), v.__class__(v, variant_level=1)), signature="yv")


def python(v):
    code, x = int(v[0]), v[1]
    if code == 9:
        return Ref(x[0], x[1])
    if code in (0, 1, 10):
        return None
    return bool(x) if code == 11 else x


def wait_for(start):
    """Runs the main loop until the answer comes: meanwhile the engine calls back into our objects."""
    loop, answer = GLib.MainLoop(), {}

    def done(*reply):
        answer["reply"] = reply
        loop.quit()

    def failed(e):
        answer["error"] = e
        loop.quit()

    start(done, failed)
    loop.run()
    if "error" in answer:
        e = answer["error"]
        raise EngineError(e.get_dbus_message()) if e.get_dbus_name().startswith("de.automation.Error") else e
    return answer["reply"]


def create(prog_id, bus_name="de.automation.skrivant"):
    factory = BUS.get_object(bus_name, "/factory")
    (ref,) = wait_for(lambda ok, ko: factory.CreateObject(
        prog_id, dbus_interface="de.automation.Factory", reply_handler=ok, error_handler=ko, timeout=120))
    return Ref(*ref)


def invoke(ref, member, kind, *args):
    proxy = BUS.get_object(ref.name, ref.path, introspect=False)
    result, _args_back = wait_for(lambda ok, ko: proxy.Invoke(
        member, dbus.Byte(kind), dbus.Array([value(a) for a in args], signature="(yv)"),
        dbus_interface=OBJECT, reply_handler=ok, error_handler=ko, timeout=120))
    return python(result)


def call(ref, member, *args):
    return invoke(ref, member, METHOD, *args)


def say(name, text):
    print(f"{name}={text}", flush=True)


class NoSuchMember(dbus.DBusException):
    _dbus_error_name = "de.automation.Error"


class HostObject(dbus.service.Object):
    """An object of this process the engine calls by name; `members` maps lower-case names to functions."""

    count = 0

    def __init__(self, members):
        HostObject.count += 1
        self.ref, self.members = Ref(BUS.get_unique_name(), f"/host/{HostObject.count}"), members
        super().__init__(BUS, self.ref.path)

    @dbus.service.method(OBJECT, in_signature="sya(yv)", out_signature="(yv)a(yv)")
    def Invoke(self, member, kind, args):
        if member.lower() not in self.members:
            raise NoSuchMember(f"438\tHost\tNo member {member}")
        result = self.members[member.lower()](*[python(a) for a in args])
        return value(result.ref if isinstance(result, HostObject) else result), args

    @dbus.service.method(OBJECT, in_signature="u")
    def Release(self, count):
        pass


def records(names, types, rows, read):
    """A record set over `rows`; every value the engine reads is noted in `read`."""
    pos = [0]

    def field(i):
        def current():
            read.append(f"{names[i]}={rows[pos[0]][i]}")
            return rows[pos[0]][i]
        return HostObject({"name": lambda: names[i], "type": lambda: types[i], "value": current})

    fields = HostObject({"count": lambda: len(names), "item": field})
    return HostObject({
        "recordcount": lambda: len(rows), "eof": lambda: pos[0] >= len(rows), "fields": lambda: fields,
        "movefirst": lambda: pos.__setitem__(0, 0), "movenext": lambda: pos.__setitem__(0, pos[0] + 1),
        "movelast": lambda: pos.__setitem__(0, max(0, len(rows) - 1))})


def database(prefix, daten):
    """The host's database from the installed schema, with its forms and one invoice's rows."""
    shutil.copytree(prefix + "/share/skrivant/templates", daten + "FORMULAR")
    open(daten + "SYSTEM.MDW", "w").close()
    db = sqlite3.connect(daten + "Auftrag.mdb")
    with open(prefix + "/share/skrivant/schema/host.sql", encoding="utf-8") as schema:
        db.executescript(schema.read())
    db.executemany("INSERT INTO Auftrag_Formular_Neu (FormStatus, FormNummer, BerichtArt, Formatdatei, AnzahlKopien) "
                   "VALUES (?, 1, 2, ?, 1)",
                   [(3, "$Daten$FORMULAR\\Rechnung.lst"), (130, "$Daten$FORMULAR\\Mahnung.lst")])
    db.execute("INSERT INTO Auftrag_Formular_Mahnung (FormNummer, FormStatus, Mahnstufe, Überschrift) "
               "VALUES (1, 130, 2, 'Zweite Mahnung')")
    # 2 x 10,00 at 19 % and 1 x 20,00 at 7 %; the optional columns stay Null.
    db.executemany("INSERT INTO PrintInputTabelle (Feld1, Menge, Bezeichnung, EP, MWSTArt, MwStSatz) "
                   "VALUES (?, ?, ?, ?, ?, ?)",
                   [("1", 2, "Ringbuch A4", 10.0, 1, 0.19), ("2", 1, "Atlas der Weltmeere", 20.0, 2, 0.07)])
    db.commit()
    return db


def job_end(obj, name):
    while call(obj, "IsBesetzt"):
        GLib.usleep(50000)
    say(name + ".GetExitCode", call(obj, "GetExitCode"))


def main():
    prefix, work = sys.argv[1], os.path.abspath(sys.argv[2]) + "/"
    daten, lokal = work + "Daten/", work + "Lokal/"
    db = database(prefix, daten)
    os.makedirs(lokal)

    handler = create("Skrivant.clsConnectionHandler")
    for group in (4, 6):
        invoke(handler, "SQLGruppe_DB_Provider", LET, group, "Microsoft.Jet.OLEDB.4.0")
        invoke(handler, "SQLGruppe_DB_Properties", LET, group, "Jet OLEDB:System database", daten + "SYSTEM.MDW")
        invoke(handler, "SQLGruppe_DB_OpenConnection", LET, group, "Data Source=" + daten + "Auftrag.mdb")

    app = create("Skrivant.Application")
    invoke(app, "ConnectList", SET, handler)
    invoke(app, "LokalerPfad", LET, lokal)
    invoke(app, "Datenverzeichnis", LET, daten)
    call(app, "SetDataBaseName", daten + "Auftrag.mdb")
    call(app, "Clear")
    call(app, "SetDruckerOptionen", 3, 1)
    call(app, "SetAnschrift", "Städtische Bücherei\r\nAm Markt 3\r\n12345 Musterstadt", 0)
    call(app, "SetRechnungNr", "R-4711")
    call(app, "SetAbschluss", "19", "E", "", "", "EUR", "", "", "")
    invoke(app, "MWSTSatz_halb", LET, 0.07)
    call(app, "SetDruckwährung", "EUR")
    call(app, "ClearAbschluss")
    call(app, "AddAbschluss", "Zwischensumme", "Summe netto", True)
    call(app, "AddAbschluss", "MWST", "zzgl. [MWSTSatz] USt.")
    call(app, "AddAbschluss", "Brutto", "Rechnungsbetrag", True)
    invoke(app, "PDFArchivDatei", LET, work + "Rechnung.pdf")
    call(app, "PDFAusgabeDokument")
    job_end(app, "Rechnung")
    say("Rechnung.GetGesamtBetrag", call(app, "GetGesamtBetrag"))
    invoke(app, "PDFArchivDatei", LET, work + "fehlt/Rechnung.pdf")
    call(app, "PDFAusgabeDokument")
    job_end(app, "FehlenderOrdner")

    # A generic form type whose records live here.
    form = create("Skrivant.clsDruckAllgemein")
    read = []
    head = records(["Nummer", "Kunde"], [4, 10], [[4711, "Bücherei Nord"]], [])
    rows = records(["Artikel", "Menge"], [10, 7], [["Ringbuch", 2.5], ["Atlas", 1.0]], read)
    call(form, "CreateFormularTyp", 1001, "Lieferschein", "aus Python", 2, head.ref, rows.ref)
    db.execute("UPDATE Auftrag_Formular_Neu SET Formatdatei='$Daten$FORMULAR\\Formularliste.lst' WHERE FormStatus=1001")
    db.commit()
    call(form, "SetDruckerOptionen", 1001, 1)
    invoke(form, "KopfDaten", SET, head.ref)
    invoke(form, "DetailDaten", SET, rows.ref)
    say("Formular.AddToDruckstapel", call(form, "AddToDruckstapel"))
    job_end(form, "Formular")
    say("Formular.Gelesen", ",".join(read))

    letter = create("Skrivant.clsMahnungDrucken")
    invoke(letter, "ConnectList", SET, handler)
    invoke(letter, "MahnstufenText", LET, "2")
    call(letter, "SetDruckerOptionen", 130, 1)
    invoke(letter, "Anschrift", LET, "Städtische Bücherei\r\nAm Markt 3")
    call(letter, "AddRechnung", 2, "R-1001", datetime.date(2026, 10, 1), datetime.date(2026, 10, 31), 100.0, 20.0, "")
    invoke(letter, "PDFArchivDatei", LET, work + "Mahnung.pdf")
    call(letter, "PDFAusgabeDokument")
    job_end(letter, "Mahnung")

    try:
        call(app, "SetLeerzeilenZwischenPos", 100000)
    except EngineError as e:
        say("Fehler", e.number)


if __name__ == "__main__":
    main()
