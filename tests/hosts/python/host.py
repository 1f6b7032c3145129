#!/usr/bin/python3
"""A host of the print engine in Python, written from docs/hosts.md and the installed files
alone: python3-dbus calls, record sets served from this process. Each answer goes to stdout as
one "Name=Wert" line.   host.py <prefix> <work folder>
"""
import collections, datetime, os, shutil, sqlite3, sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

DBusGMainLoop(set_as_default=True)
BUS = dbus.SessionBus()
OBJECT = "de.automation.Object"
METHOD, LET, SET = 0, 2, 3
Ref = collections.namedtuple("Ref", "name path")  # an object: its bus name and path
# The wire's VarType code of each Python type, and its D-Bus value.
WIRE = [(type(None), 0, lambda x: dbus.Int32(0)), (bool, 11, dbus.Boolean), (int, 3, dbus.Int32), (float, 5, dbus.Double),
        (datetime.date, 7, lambda x: dbus.Double((x - datetime.date(1899, 12, 30)).days)),
        (Ref, 9, lambda x: dbus.Struct((x.name, dbus.ObjectPath(x.path)), signature="so")), (str, 8, dbus.String)]


def value(x):
    code, v = next((code, wire(x)) for kind, code, wire in WIRE if isinstance(x, kind))
    return dbus.Struct((dbus.Byte(code), v.__class__(v, variant_level=1)), signature="yv")


def python(v):
    code, x = int(v[0]), v[1]
    return Ref(x[0], x[1]) if code == 9 else None if code in (0, 1, 10) else bool(x) if code == 11 else x


def wait(start):
    """Runs the main loop until the answer comes: meanwhile the engine calls back into our objects."""
    loop, answer = GLib.MainLoop(), {}
    start(lambda *r: (answer.__setitem__("ok", r), loop.quit()), lambda e: (answer.__setitem__("error", e), loop.quit()))
    loop.run()
    if "error" in answer:
        raise answer["error"]
    return answer["ok"][0]


def create(prog_id):
    return Ref(*wait(lambda ok, ko: BUS.get_object("de.automation.skrivant", "/factory").CreateObject(
        prog_id, dbus_interface="de.automation.Factory", reply_handler=ok, error_handler=ko, timeout=120)))


def invoke(ref, member, kind=METHOD, *args):
    return python(wait(lambda ok, ko: BUS.get_object(ref.name, ref.path, introspect=False).Invoke(
        member, dbus.Byte(kind), dbus.Array([value(a) for a in args], signature="(yv)"), dbus_interface=OBJECT,
        reply_handler=ok, error_handler=ko, timeout=120)))


def steps(obj, *calls):
    for kind, member, *args in calls:
        invoke(obj, member, kind, *args)


def job(obj, name, pdf=None):
    """Puts the document out to `pdf` (or the job already started), waits for its end and says how it went."""
    if pdf:
        steps(obj, (LET, "PDFArchivDatei", pdf), (METHOD, "PDFAusgabeDokument"))
    while invoke(obj, "IsBesetzt"):
        GLib.usleep(50000)
    print(f"{name}.GetExitCode={invoke(obj, 'GetExitCode')}", flush=True)


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


def main():
    prefix, work = sys.argv[1], os.path.abspath(sys.argv[2]) + "/"
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
    db.execute("INSERT INTO Auftrag_Formular_Mahnung (FormNummer, FormStatus, Mahnstufe, Überschrift) "
               "VALUES (1, 130, 2, 'Zweite Mahnung')")
    # 2 x 10,00 at 19 % and 1 x 20,00 at 7 %; the optional columns stay Null.
    db.executemany("INSERT INTO PrintInputTabelle (Feld1, Menge, Bezeichnung, EP, MWSTArt, MwStSatz) VALUES (?, ?, ?, ?, ?, ?)",
                   [("1", 2, "Ringbuch A4", 10.0, 1, 0.19), ("2", 1, "Atlas der Weltmeere", 20.0, 2, 0.07)])
    db.commit()

    handler = create("Skrivant.clsConnectionHandler")
    for group in (4, 6):
        steps(handler, (LET, "SQLGruppe_DB_Provider", group, "Microsoft.Jet.OLEDB.4.0"),
              (LET, "SQLGruppe_DB_Properties", group, "Jet OLEDB:System database", daten + "SYSTEM.MDW"),
              (LET, "SQLGruppe_DB_OpenConnection", group, "Data Source=" + daten + "Auftrag.mdb"))

    app = create("Skrivant.Application")
    steps(app, (SET, "ConnectList", handler), (LET, "LokalerPfad", lokal), (LET, "Datenverzeichnis", daten),
          (METHOD, "SetDataBaseName", daten + "Auftrag.mdb"), (METHOD, "Clear"), (METHOD, "SetDruckerOptionen", 3, 1),
          (METHOD, "SetAnschrift", "Städtische Bücherei\r\nAm Markt 3\r\n12345 Musterstadt", 0),
          (METHOD, "SetRechnungNr", "R-4711"), (METHOD, "SetAbschluss", "19", "E", "", "", "EUR", "", "", ""),
          (LET, "MWSTSatz_halb", 0.07), (METHOD, "SetDruckwährung", "EUR"), (METHOD, "ClearAbschluss"),
          (METHOD, "AddAbschluss", "Zwischensumme", "Summe netto", True),
          (METHOD, "AddAbschluss", "MWST", "zzgl. [MWSTSatz] USt."),
          (METHOD, "AddAbschluss", "Brutto", "Rechnungsbetrag", True))
    job(app, "Rechnung", work + "Rechnung.pdf")
    print(f"Rechnung.GetGesamtBetrag={invoke(app, 'GetGesamtBetrag')}", flush=True)
    job(app, "FehlenderOrdner", work + "fehlt/Rechnung.pdf")

    # A generic form type whose records live here.
    form = create("Skrivant.clsDruckAllgemein")
    read = []
    head = records(["Nummer", "Kunde"], [4, 10], [[4711, "Bücherei Nord"]], [])
    rows = records(["Artikel", "Menge"], [10, 7], [["Ringbuch", 2.5], ["Atlas", 1.0]], read)
    invoke(form, "CreateFormularTyp", METHOD, 1001, "Lieferschein", "aus Python", 2, head.ref, rows.ref)
    db.execute("UPDATE Auftrag_Formular_Neu SET Formatdatei='$Daten$FORMULAR\\Formularliste.lst' WHERE FormStatus=1001")
    db.commit()
    steps(form, (METHOD, "SetDruckerOptionen", 1001, 1), (SET, "KopfDaten", head.ref), (SET, "DetailDaten", rows.ref))
    print(f"Formular.AddToDruckstapel={invoke(form, 'AddToDruckstapel')}", flush=True)
    job(form, "Formular")
    print(f"Formular.Gelesen={','.join(read)}", flush=True)

    letter = create("Skrivant.clsMahnungDrucken")
    steps(letter, (SET, "ConnectList", handler), (LET, "MahnstufenText", "2"), (METHOD, "SetDruckerOptionen", 130, 1),
          (LET, "Anschrift", "Städtische Bücherei\r\nAm Markt 3"),
          (METHOD, "AddRechnung", 2, "R-1001", datetime.date(2026, 10, 1), datetime.date(2026, 10, 31), 100.0, 20.0, ""))
    job(letter, "Mahnung", work + "Mahnung.pdf")


if __name__ == "__main__":
    main()
