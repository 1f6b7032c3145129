#!/usr/bin/python3
"""A host of the print engine in Python, written from docs/hosts.md and the installed files alone.
Each answer goes to stdout as one "Name=Wert" line.   host.py <prefix> <work folder> <damaged hand-over file>"""
import datetime, os, shutil, sqlite3, sys

import dbus, dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

DBusGMainLoop(set_as_default=True)
BUS, OBJECT = dbus.SessionBus(), "de.automation.Object"
METHOD, LET, SET = 0, 2, 3
# The VarType code and D-Bus value of each Python type; an object is the tuple (bus name, path).
WIRE = [(type(None), 0, lambda x: dbus.Int32(0)), (bool, 11, dbus.Boolean), (int, 3, dbus.Int32), (float, 5, dbus.Double),
        (datetime.date, 7, lambda x: dbus.Double((x - datetime.date(1899, 12, 30)).days)),
        (tuple, 9, lambda x: dbus.Struct((x[0], dbus.ObjectPath(x[1])), signature="so")), (str, 8, dbus.String)]

def value(x):
    code, v = next((code, wire(x)) for kind, code, wire in WIRE if isinstance(x, kind))
    return dbus.Struct((dbus.Byte(code), v.__class__(v, variant_level=1)), signature="yv")

def call(obj, interface, member, *args):
    """Runs the main loop until the answer comes: meanwhile the engine calls back into our objects."""
    loop, answer = GLib.MainLoop(), []
    obj.get_dbus_method(member, interface)(*args, timeout=120, reply_handler=lambda *r: (answer.append(r[0] if r else None), loop.quit()),
                                           error_handler=lambda e: (answer.append(e), loop.quit()))
    loop.run()
    if isinstance(answer[0], Exception):
        raise answer[0]
    return answer[0]

def create(prog_id):
    return call(BUS.get_object("de.automation.skrivant", "/factory"), "de.automation.Factory", "CreateObject", prog_id)

def invoke(ref, member, kind=METHOD, *args):
    code, result = call(BUS.get_object(*ref, introspect=False), OBJECT, "Invoke", member, dbus.Byte(kind),
                        dbus.Array([value(a) for a in args], signature="(yv)"))
    return None if code in (0, 1, 10) else result

def steps(obj, *calls):
    for kind, member, *args in calls:
        invoke(obj, member, kind, *args)

def job(obj, name, pdf=None, member=None):
    """Puts the document out to `pdf`, through `member`, or into the print batch: "answer|busy at once|exit code"."""
    if pdf is not None:
        invoke(obj, "PDFArchivDatei", LET, pdf)
    try:
        answer = invoke(obj, member or ("PDFAusgabeDokument" if pdf is not None else "AddToDruckstapel"))
    except dbus.DBusException as e:
        answer = "error " + e.get_dbus_message().split("\t")[0]
    busy = bool(invoke(obj, "IsBesetzt"))
    while invoke(obj, "IsBesetzt"):
        GLib.usleep(50000)
    print(f"{name}={answer}|{busy}|{invoke(obj, 'GetExitCode')}")

class HostObject(dbus.service.Object):
    """An object of this process the engine calls by name; `members` maps lower-case names to functions."""
    def __init__(self, members):
        self.ref, self.members = (BUS.get_unique_name(), f"/host/{id(self)}"), members
        super().__init__(BUS, self.ref[1])

    @dbus.service.method(OBJECT, in_signature="sya(yv)", out_signature="(yv)a(yv)")
    def Invoke(self, member, kind, args):
        if member.lower() not in self.members:
            raise dbus.DBusException(f"438\tHost\tNo member {member}", name="de.automation.Error.E438")
        result = self.members[member.lower()](*[a[1] for a in args])
        return value(result.ref if isinstance(result, HostObject) else result), args

    @dbus.service.method(OBJECT, in_signature="u")
    def Release(self, count):  # the engine is done with this object: it lives as long as the script
        pass

def records(names, types, rows, read):
    """A record set over `rows` (without MoveLast, which is optional); the values the engine reads go to `read`."""
    pos = [0]
    field = lambda i: HostObject({"name": lambda: names[i], "type": lambda: types[i],
                                  "value": lambda: read.append(f"{names[i]}={rows[pos[0]][i]}") or rows[pos[0]][i]})
    fields = HostObject({"count": lambda: len(names), "item": field})
    return HostObject({"recordcount": lambda: len(rows), "eof": lambda: pos[0] >= len(rows), "fields": lambda: fields,
                       "movefirst": lambda: pos.__setitem__(0, 0), "movenext": lambda: pos.__setitem__(0, pos[0] + 1)})

prefix, work, damaged = sys.argv[1], os.path.abspath(sys.argv[2]) + "/", sys.argv[3]
daten, lokal = work + "Daten/", work + "Lokal/"
# The host's database from the installed schema, with its forms and one invoice's rows.
shutil.copytree(prefix + "/share/skrivant/templates", daten + "FORMULAR")
os.makedirs(lokal)
open(daten + "SYSTEM.MDW", "w").close()
db = sqlite3.connect(daten + "Auftrag.mdb")
with open(prefix + "/share/skrivant/schema/host.sql", encoding="utf-8") as schema:
    db.executescript(schema.read())
db.executemany("INSERT INTO Auftrag_Formular_Neu (FormStatus, FormNummer, BerichtArt, Formatdatei, AnzahlKopien) "
               "VALUES (?, 1, 2, ?, 1)", [(3, "$Daten$FORMULAR\\Rechnung.lst"), (130, "$Daten$FORMULAR\\Mahnung.lst")])
# 2 x 10,00 at 19 % and 1 x 20,00 at 7 %; the optional columns stay Null.
db.executemany("INSERT INTO PrintInputTabelle (Feld1, Menge, Bezeichnung, EP, MWSTArt, MwStSatz) VALUES (?, ?, ?, ?, ?, ?)",
               [("1", 2, "Ringbuch A4", 10.0, 1, 0.19), ("2", 1, "Atlas der Weltmeere", 20.0, 2, 0.07)])
db.commit()

def failure(obj, member, kind=METHOD, *args):
    """The error number the call is refused with, from the message's first field; "none" when it is not."""
    try:
        invoke(obj, member, kind, *args)
        return "none"
    except dbus.DBusException as e:
        return e.get_dbus_message().split("\t")[0]

# Before any form's settings: a generic form's outputs fail their job, they raise nothing.
early = create("Skrivant.clsDruckAllgemein")
for member in ("PrintDokument", "LLPrintDokument", "AddToDruckstapel"):
    job(early, "Vorher." + member, member=member)
print(f"Falsch.CreateFormularTyp={failure(early, 'CreateFormularTyp', METHOD, 1002, 'x', 'y', 2, 'Kopf', 'Detail')}")
print(f"Falsch.Data={failure(early, 'Data', SET, 7)}")
lone = create("Skrivant.Application")
print(f"OhneGruppe.SetDruckerOptionen={failure(lone, 'SetDruckerOptionen', METHOD, 3, 1)}")
invoke(lone, "ConnectList", SET, ("", "/"))
print(f"Nothing.SetDruckerOptionen={failure(lone, 'SetDruckerOptionen', METHOD, 3, 1)}")
call(BUS.get_object(*lone, introspect=False), OBJECT, "Release", dbus.UInt32(1))
print(f"Freigegeben={failure(lone, 'GetVersion')}")

handler = create("Skrivant.clsConnectionHandler")
for group in (4, 6):
    steps(handler, (LET, "SQLGruppe_DB_Provider", group, "Microsoft.Jet.OLEDB.4.0"),
          (LET, "SQLGruppe_DB_Properties", group, "Jet OLEDB:System database", daten + "SYSTEM.MDW"),
          (LET, "SQLGruppe_DB_OpenConnection", group, "Data Source=" + daten + "Auftrag.mdb"))
app = create("Skrivant.Application")
steps(app, (SET, "ConnectList", handler), (LET, "LokalerPfad", lokal), (LET, "Datenverzeichnis", daten),
      (METHOD, "SetDataBaseName", daten + "Auftrag.mdb"), (METHOD, "Clear"), (METHOD, "SetDruckerOptionen", 3, 1),
      (METHOD, "SetAbschluss", "19", "E", "", "", "EUR", "", "", ""), (LET, "MWSTSatz_halb", 0.07), (METHOD, "ClearAbschluss"),
      (METHOD, "AddAbschluss", "MWST", "zzgl. [MWSTSatz] USt."), (METHOD, "AddAbschluss", "Brutto", "Rechnungsbetrag", True))
job(app, "Rechnung", work + "Rechnung.pdf")
print(f"Rechnung.GetGesamtBetrag={invoke(app, 'GetGesamtBetrag')}")

# Failed jobs and refused hand-over databases; a failed job must keep the invoice's PDF.
for name, pdf in (("FehlenderOrdner", work + "fehlt/R.pdf"), ("Ordner", work), ("OhneName", "")):
    job(app, name, pdf)
    invoke(app, "CancelOutput")
for name, datei in (("DateiFehlt", work + "fehlt.mdb"), ("LangerName", "x" * 10_000_000)):
    print(f"{name}.SetDataBaseName={invoke(app, 'SetDataBaseName', METHOD, datei)}")
job(app, "Danach", work + "Danach.pdf")
# Another program holds the one database locked: hand-over table, forms and settings alike.
invoke(app, "SetDataBaseName", METHOD, daten + "Auftrag.mdb")
sperre = sqlite3.connect(daten + "Auftrag.mdb", isolation_level=None)
sperre.execute("BEGIN EXCLUSIVE")
start = GLib.get_monotonic_time()
job(app, "Gesperrt", work + "Rechnung.pdf")
print(f"Gesperrt.Sekunden={(GLib.get_monotonic_time() - start) / 1e6:.1f}")
sperre.close()
# Rows that cannot be read whole (a page of the table damaged) are no document: exported or printed.
invoke(app, "SetDataBaseName", METHOD, damaged)
job(app, "Beschaedigt", work + "Rechnung.pdf")
job(app, "Beschaedigt.Druck", member="PrintDokument")
with open(os.environ["XDG_DATA_HOME"] + "/Skrivant/Debug.txt", encoding="latin-1") as log:  # the first Application's
    text = log.read()
    print(f"Gesperrt.Log={'database is locked' in text}")
    print(f"Beschaedigt.Log={'database disk image is malformed' in text}")

# A generic form type whose records live here.
form, read = create("Skrivant.clsDruckAllgemein"), []
head = records(["Nummer", "Kunde"], [4, 10], [[4711, "Bücherei Nord"]], [])
rows = records(["Artikel", "Menge"], [10, 7], [["Ringbuch", 2.5], ["Atlas", 1.0]], read)
invoke(form, "CreateFormularTyp", METHOD, 1001, "Lieferschein", "aus Python", 2, head.ref, rows.ref)
db.execute("UPDATE Auftrag_Formular_Neu SET Formatdatei='$Daten$FORMULAR\\Formularliste.lst' WHERE FormStatus=1001")
db.commit()
steps(form, (METHOD, "SetDruckerOptionen", 1001, 1), (SET, "KopfDaten", head.ref), (SET, "DetailDaten", rows.ref))
job(form, "Formular")
print(f"Formular.Gelesen={','.join(read)}")

letter = create("Skrivant.clsMahnungDrucken")
steps(letter, (SET, "ConnectList", handler), (METHOD, "SetDruckerOptionen", 130, 1),
      (METHOD, "AddRechnung", 2, "R-1001", datetime.date(2026, 10, 1), datetime.date(2026, 10, 31), 100.0, 20.0, ""))
job(letter, "Mahnung", work + "Mahnung.pdf")
