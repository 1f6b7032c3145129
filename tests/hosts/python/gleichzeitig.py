#!/usr/bin/python3
"""Hosts of the print engine at once (docs/hosts.md), each on a bus connection of its own with its own
hand-over database and values, all in one local path; answers as "Name=Wert" lines.
   gleichzeitig.py <prefix> <work folder> [nebenher]   the hosts A, B and E [F: one invoice while E waits]"""
import os, shutil, sqlite3, subprocess, sys, time

import dbus, dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

DBusGMainLoop(set_as_default=True)
OBJECT, METHOD, LET, SET = "de.automation.Object", 0, 2, 3
WIRE = [(type(None), 0, lambda x: dbus.Int32(0)), (bool, 11, dbus.Boolean), (int, 3, dbus.Int32), (float, 5, dbus.Double),
        (tuple, 9, lambda x: dbus.Struct((x[0], dbus.ObjectPath(x[1])), signature="so")), (str, 8, dbus.String)]

def value(x):
    code, v = next((code, wire(x)) for kind, code, wire in WIRE if isinstance(x, kind))
    return dbus.Struct((dbus.Byte(code), v.__class__(v, variant_level=1)), signature="yv")

def wait_until(done, seconds=300):
    """Runs the main loop until done() (the engine may call our objects meanwhile)."""
    loop, end = GLib.MainLoop(), time.monotonic() + seconds
    GLib.timeout_add(10, lambda: (done() or time.monotonic() > end) and loop.quit() or True)
    loop.run()

def wait(*answers):
    wait_until(lambda: all(answers))
    for error in (a[0] for a in answers if isinstance(a[0], Exception)):
        raise error
    return answers[0][0]

class Host:
    """One host: a bus connection of its own, which the engine serves from a process of its own."""
    def __init__(self, bus=None):
        self.bus = bus or dbus.SessionBus(private=True)

    def send(self, ref, interface, member, *args):
        answer = []
        self.bus.get_object(*ref, introspect=False).get_dbus_method(member, interface)(
            *args, timeout=600, reply_handler=lambda *r: answer.append(r[0] if r else ()), error_handler=answer.append)
        return answer

    def create(self, prog_id):
        return tuple(wait(self.send(("de.automation.skrivant", "/factory"), "de.automation.Factory", "CreateObject", prog_id)))

    def start(self, ref, member, kind=METHOD, *args):
        return self.send(ref, OBJECT, "Invoke", member, dbus.Byte(kind), dbus.Array([value(a) for a in args], signature="(yv)"))

    def invoke(self, ref, member, kind=METHOD, *args):
        code, result = wait(self.start(ref, member, kind, *args))
        return None if code in (0, 1, 10) else result

    def handler(self, datenbank):
        handler = self.create("Skrivant.clsConnectionHandler")
        for group, (member, *args) in ((g, c) for g in (4, 6) for c in (("SQLGruppe_DB_Provider", "Microsoft.Jet.OLEDB.4.0"),
                                       ("SQLGruppe_DB_Properties", "Jet OLEDB:System database", daten + "SYSTEM.MDW"),
                                       ("SQLGruppe_DB_OpenConnection", "Data Source=" + daten + datenbank))):
            self.invoke(handler, member, LET, group, *args)
        return handler

    def invoice(self, datenbank, tag):
        """The Application of one invoice on `datenbank` and its calls up to the output."""
        handler, self.app = self.handler(datenbank), self.create("Skrivant.Application")
        return [(SET, "ConnectList", handler), (LET, "LokalerPfad", lokal), (LET, "Datenverzeichnis", daten),
                (METHOD, "SetDataBaseName", daten + datenbank), (METHOD, "Clear"), (METHOD, "SetDruckerOptionen", 3, 1),
                (METHOD, "SetRechnungNr", f"R-{tag}-1"), (METHOD, "SetAnschrift", f"Kunde {tag}\r\nAm Markt 3", 0),
                (METHOD, "SetAbschluss", "19", "E", "", "", "EUR", "", "", ""), (LET, "MWSTSatz_halb", 0.07),
                (METHOD, "ClearAbschluss"), (METHOD, "AddAbschluss", "MWST", "zzgl. [MWSTSatz] USt."),
                (METHOD, "AddAbschluss", "Brutto", "Rechnungsbetrag", True), (LET, "PDFArchivDatei", work + tag + ".pdf")]

    def job_end(self, tag):
        while self.invoke(self.app, "IsBesetzt"):
            GLib.usleep(50000)
        print(f"{tag}={self.invoke(self.app, 'GetExitCode')}|{self.invoke(self.app, 'GetGesamtBetrag')}", flush=True)

class HostObject(dbus.service.Object):
    """An object the engine calls by name (members by lower-case name); one that is None is never
    answered: `silent` runs instead, and the host goes on serving other calls."""
    def __init__(self, host, members, silent=None):
        self.ref, self.members, self.silent = (host.bus.get_unique_name(), f"/host/{id(self)}"), members, silent
        super().__init__(host.bus, self.ref[1])

    @dbus.service.method(OBJECT, in_signature="sya(yv)", out_signature="(yv)a(yv)", async_callbacks=("ok", "fail"))
    def Invoke(self, member, kind, args, ok, fail):
        function = self.members[member.lower()]
        if function is None:
            return self.silent()
        result = function(*[a[1] for a in args])
        ok(value(result.ref if isinstance(result, HostObject) else result), args)


def records(host, name, rows, silent=None):  # one text column; with `silent` Fields is never answered
    pos = [0]
    field = HostObject(host, {"name": lambda: name, "type": lambda: 10, "value": lambda: rows[pos[0]]})
    fields = HostObject(host, {"count": lambda: 1, "item": lambda i: field})
    return HostObject(host, {"recordcount": lambda: len(rows), "eof": lambda: pos[0] >= len(rows),
                             "fields": None if silent else (lambda: fields), "movefirst": lambda: pos.__setitem__(0, 0),
                             "movenext": lambda: pos.__setitem__(0, pos[0] + 1)}, silent)

prefix, work = sys.argv[1], os.path.abspath(sys.argv[2]) + "/"
daten, lokal = work + "Daten/", work + "Lokal/"
if sys.argv[3:] == ["nebenher"]:
    f = Host(dbus.SessionBus())
    for kind, member, *args in f.invoice("B.mdb", "F"):
        f.invoke(f.app, member, kind, *args)
    f.invoke(f.app, "PDFAusgabeDokument")
    f.job_end("F")
    sys.exit(0)

shutil.copytree(prefix + "/share/skrivant/templates", daten + "FORMULAR")
os.makedirs(lokal)
open(daten + "SYSTEM.MDW", "w").close()
# A: 2 x 10,00 at 19 % and 1 x 20,00 at 7 %; B: 1 x 50,00 at 19 %.
for name, rows in (("A.mdb", [("1", 2, "Ringbuch A4", 10.0, 1, 0.19), ("2", 1, "Atlas der Weltmeere", 20.0, 2, 0.07)]),
                   ("B.mdb", [("1", 1, "Globus aus Messing", 50.0, 1, 0.19)])):
    db = sqlite3.connect(daten + name)
    db.executescript(open(prefix + "/share/skrivant/schema/host.sql", encoding="utf-8").read())
    db.execute("INSERT INTO Auftrag_Formular_Neu (FormStatus, FormNummer, BerichtArt, Formatdatei, AnzahlKopien) "
               "VALUES (3, 1, 2, '$Daten$FORMULAR\\Rechnung.lst', 1)")
    db.executemany("INSERT INTO PrintInputTabelle (Feld1, Menge, Bezeichnung, EP, MWSTArt, MwStSatz) VALUES (?, ?, ?, ?, ?, ?)", rows)
    db.commit()

# A and B set up and put out at the same time, every call of one followed by the same of the other.
a, b = Host(), Host()
steps = zip(a.invoice("A.mdb", "A"), b.invoice("B.mdb", "B"))
print(f"EigeneProzesse={a.app[0] != b.app[0]}", flush=True)
for step_a, step_b in steps:
    for host, (kind, member, *args) in ((a, step_a), (b, step_b)):
        host.invoke(host.app, member, kind, *args)
wait(a.start(a.app, "PDFAusgabeDokument"), b.start(b.app, "PDFAusgabeDokument"))
a.job_end("A")
b.job_end("B")

# A preview nobody can see answers at once, says so, and leaves the print window free.
begin = time.monotonic()
a.invoke(a.app, "PreviewDokument")
print(f"Vorschau={a.invoke(a.app, 'GetExitCode')}|{time.monotonic() - begin < 5}", flush=True)
log = open(os.environ["XDG_DATA_HOME"] + "/Skrivant/Debug.txt", encoding="latin-1").read()
print(f"Vorschau.Log={'ohne sichtbare Anzeige' in log}", flush=True)

# E's record set never answers Fields; F meanwhile prints an invoice of its own.
e, spawned = Host(), []
def silent():
    if spawned:
        return
    spawned.append(subprocess.Popen([sys.executable, __file__, prefix, work, "nebenher"], stdout=subprocess.PIPE, text=True))
    GLib.child_watch_add(GLib.PRIORITY_DEFAULT, spawned[0].pid, lambda *x: spawned.append(time.monotonic() - begin))
form = e.create("Skrivant.clsDruckAllgemein")
e.invoke(form, "ConnectList", SET, e.handler("A.mdb"))
head, begin = records(e, "Nummer", ["4711"]), time.monotonic()
answer = e.start(form, "CreateFormularTyp", METHOD, 1001, "Lieferschein", "", 2, head.ref, records(e, "Artikel", ["Ringbuch"], silent).ref)
wait_until(lambda: answer)
waited = time.monotonic() - begin
wait_until(lambda: len(spawned) > 1)
print(f"Rueckruf.Sekunden={waited:.1f}|{spawned[1]:.1f}", flush=True)
print(f"Rueckruf={answer[0].get_dbus_message() if isinstance(answer[0], dbus.DBusException) else answer[0]}", flush=True)
print("".join("Nebenher." + line for line in spawned[0].stdout), end="", flush=True)
# E's engine serves E as before.
print(f"Danach={e.invoke(form, 'CreateFormularTyp', METHOD, 1001, 'Lieferschein', '', 2, head.ref, records(e, 'Artikel', ['Ringbuch']).ref)}",
      flush=True)
