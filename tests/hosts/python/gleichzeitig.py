#!/usr/bin/python3
"""Hosts of the print engine at the same time, written from docs/hosts.md: each on a bus connection of
its own with its own hand-over database and document values, all in one local path. Each answer goes
to stdout as one "Name=Wert" line.
   gleichzeitig.py <prefix> <work folder>            the hosts A to E, their calls interleaved
   gleichzeitig.py <prefix> <work folder> nebenher   host F: one invoice, while E waits in its call"""
import datetime, os, shutil, sqlite3, subprocess, sys, time

import dbus, dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

DBusGMainLoop(set_as_default=True)
OBJECT = "de.automation.Object"
METHOD, GET, LET, SET = 0, 1, 2, 3
WIRE = [(type(None), 0, lambda x: dbus.Int32(0)), (bool, 11, dbus.Boolean), (int, 3, dbus.Int32), (float, 5, dbus.Double),
        (tuple, 9, lambda x: dbus.Struct((x[0], dbus.ObjectPath(x[1])), signature="so")), (str, 8, dbus.String)]

def value(x):
    code, v = next((code, wire(x)) for kind, code, wire in WIRE if isinstance(x, kind))
    return dbus.Struct((dbus.Byte(code), v.__class__(v, variant_level=1)), signature="yv")

def wait_until(done, seconds=120):
    """Runs the main loop until done() (the engine may call our objects meanwhile)."""
    loop, end = GLib.MainLoop(), time.monotonic() + seconds
    GLib.timeout_add(10, lambda: (done() or time.monotonic() > end) and loop.quit() or True)
    loop.run()

def wait(*answers, seconds=120):
    wait_until(lambda: all(answers), seconds)
    return [a[0] if a else TimeoutError() for a in answers]

def unwrap(answer):
    if isinstance(answer, Exception):
        raise answer
    return answer

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
        return tuple(unwrap(wait(self.send(("de.automation.skrivant", "/factory"), "de.automation.Factory", "CreateObject",
                                           prog_id))[0]))

    def start(self, ref, member, kind=METHOD, *args):
        return self.send(ref, OBJECT, "Invoke", member, dbus.Byte(kind), dbus.Array([value(a) for a in args], signature="(yv)"))

    def invoke(self, ref, member, kind=METHOD, *args):
        code, result = unwrap(wait(self.start(ref, member, kind, *args))[0])
        return None if code in (0, 1, 10) else result

    def invoice(self, daten, lokal, datenbank, tag):
        """The handler and Application of one invoice on `datenbank`, set up up to its output."""
        handler = self.create("Skrivant.clsConnectionHandler")
        for group in (4, 6):
            for kind, member, *args in ((LET, "SQLGruppe_DB_Provider", group, "Microsoft.Jet.OLEDB.4.0"),
                                        (LET, "SQLGruppe_DB_Properties", group, "Jet OLEDB:System database", daten + "SYSTEM.MDW"),
                                        (LET, "SQLGruppe_DB_OpenConnection", group, "Data Source=" + datenbank)):
                self.invoke(handler, member, kind, *args)
        self.app = self.create("Skrivant.Application")
        return [(SET, "ConnectList", handler), (LET, "LokalerPfad", lokal), (LET, "Datenverzeichnis", daten),
                (METHOD, "SetDataBaseName", datenbank), (METHOD, "Clear"), (METHOD, "SetDruckerOptionen", 3, 1),
                (METHOD, "SetRechnungNr", f"R-{tag}-1"), (METHOD, "SetAnschrift", f"Kunde {tag}\r\nAm Markt 3", 0),
                (METHOD, "SetAbschluss", "19", "E", "", "", "EUR", "", "", ""), (LET, "MWSTSatz_halb", 0.07),
                (METHOD, "ClearAbschluss"), (METHOD, "AddAbschluss", "MWST", "zzgl. [MWSTSatz] USt."),
                (METHOD, "AddAbschluss", "Brutto", "Rechnungsbetrag", True)]

    def job_end(self, tag):
        while self.invoke(self.app, "IsBesetzt"):
            GLib.usleep(50000)
        print(f"{tag}={self.invoke(self.app, 'GetExitCode')}|{self.invoke(self.app, 'GetGesamtBetrag')}", flush=True)

class HostObject(dbus.service.Object):
    """An object of a host the engine calls by name; `members` maps lower-case names to functions. A
    member that is None is never answered: the host goes on serving, but not that call."""
    def __init__(self, host, members, silent=lambda: None):
        self.ref, self.members, self.silent = (host.bus.get_unique_name(), f"/host/{id(self)}"), members, silent
        super().__init__(host.bus, self.ref[1])

    @dbus.service.method(OBJECT, in_signature="sya(yv)", out_signature="(yv)a(yv)", async_callbacks=("ok", "fail"))
    def Invoke(self, member, kind, args, ok, fail):
        function = self.members.get(member.lower(), False)
        if function is None:
            return self.silent()
        if function is False:
            return fail(dbus.DBusException(f"438\tHost\tNo member {member}", name="de.automation.Error.E438"))
        result = function(*[a[1] for a in args])
        ok(value(result.ref if isinstance(result, HostObject) else result), args)

    @dbus.service.method(OBJECT, in_signature="u")
    def Release(self, count):
        pass

def records(host, names, types, rows, silent=None):
    pos, fields = [0], None
    field = lambda i: HostObject(host, {"name": lambda: names[i], "type": lambda: types[i], "value": lambda: rows[pos[0]][i]})
    fields = HostObject(host, {"count": lambda: len(names), "item": field})
    return HostObject(host, {"recordcount": lambda: len(rows), "eof": lambda: pos[0] >= len(rows),
                             "fields": None if silent else (lambda: fields), "movefirst": lambda: pos.__setitem__(0, 0),
                             "movenext": lambda: pos.__setitem__(0, pos[0] + 1)}, silent or (lambda: None))

def database(prefix, path, rows):
    db = sqlite3.connect(path)
    with open(prefix + "/share/skrivant/schema/host.sql", encoding="utf-8") as schema:
        db.executescript(schema.read())
    db.execute("INSERT INTO Auftrag_Formular_Neu (FormStatus, FormNummer, BerichtArt, Formatdatei, AnzahlKopien) "
               "VALUES (3, 1, 2, '$Daten$FORMULAR\\Rechnung.lst', 1)")
    db.executemany("INSERT INTO PrintInputTabelle (Feld1, Menge, Bezeichnung, EP, MWSTArt, MwStSatz) VALUES (?, ?, ?, ?, ?, ?)", rows)
    db.commit()

def files(folder):
    """The batch members and process folders in `folder`, as paths below it."""
    return sorted(os.path.relpath(os.path.join(d, n), folder) for d, subs, names in os.walk(folder)
                  for n in subs + names if n.startswith(("SDRK", ".skrivant-")))

prefix, work = sys.argv[1], os.path.abspath(sys.argv[2]) + "/"
daten, lokal = work + "Daten/", work + "Lokal/"
if sys.argv[3:] == ["nebenher"]:
    f = Host(dbus.SessionBus())
    for kind, member, *args in f.invoice(daten, lokal, daten + "B.mdb", "F") + [(LET, "PDFArchivDatei", work + "F.pdf")]:
        f.invoke(f.app, member, kind, *args)
    f.invoke(f.app, "PDFAusgabeDokument")
    f.job_end("F")
    sys.exit(0)

shutil.copytree(prefix + "/share/skrivant/templates", daten + "FORMULAR")
os.makedirs(lokal)
open(daten + "SYSTEM.MDW", "w").close()
# A: 2 x 10,00 at 19 % and 1 x 20,00 at 7 %; B: 1 x 50,00 at 19 %.
database(prefix, daten + "A.mdb", [("1", 2, "Ringbuch A4", 10.0, 1, 0.19), ("2", 1, "Atlas der Weltmeere", 20.0, 2, 0.07)])
database(prefix, daten + "B.mdb", [("1", 1, "Globus aus Messing", 50.0, 1, 0.19)])

# A and B set up and put out at the same time, every call of one followed by the same of the other.
a, b = Host(), Host()
steps = [a.invoice(daten, lokal, daten + "A.mdb", "A"), b.invoice(daten, lokal, daten + "B.mdb", "B")]
print(f"EigeneProzesse={a.app[0] != b.app[0]}", flush=True)
for step_a, step_b in zip(*steps):
    for host, (kind, member, *args) in ((a, step_a), (b, step_b)):
        host.invoke(host.app, member, kind, *args)
for host, tag in ((a, "A"), (b, "B")):
    host.invoke(host.app, "PDFArchivDatei", LET, work + tag + ".pdf")
wait(a.start(a.app, "PDFAusgabeDokument"), b.start(b.app, "PDFAusgabeDokument"))
a.job_end("A")
b.job_end("B")

# A preview nobody can see answers at once, says so, and leaves the print window free.
begin = time.monotonic()
a.invoke(a.app, "PreviewDokument")
print(f"Vorschau={a.invoke(a.app, 'GetExitCode')}|{time.monotonic() - begin < 5}", flush=True)
with open(os.environ["XDG_DATA_HOME"] + "/Skrivant/Debug.txt", encoding="latin-1") as log:
    print(f"Vorschau.Log={'ohne sichtbare Anzeige' in log.read()}", flush=True)

# A's batch member waits in the local path while C's engine starts and adds one of its own.
a.invoke(a.app, "AddToDruckstapel")
c = Host()
for kind, member, *args in c.invoice(daten, lokal, daten + "B.mdb", "C"):
    c.invoke(c.app, member, kind, *args)
c.invoke(c.app, "AddToDruckstapel")
print(f"Stapel={','.join(files(lokal))}", flush=True)
os.makedirs(work + "Stapel")
for name in files(lokal):
    if os.path.isfile(lokal + name):
        shutil.copy(lokal + name, work + "Stapel/" + name.replace("/", "_"))
# Once their hosts are gone, what their engines left is a leftover for the next engine.
engines = [a.app[0], b.app[0], c.app[0]]
for host in (a, b, c):
    host.bus.set_exit_on_disconnect(False)  # libdbus would end this process when a connection closes
    host.bus.close()
watcher, end = dbus.SessionBus(), time.monotonic() + 30
while any(watcher.name_has_owner(n) for n in engines) and time.monotonic() < end:
    GLib.usleep(50000)
d = Host()
held = d.create("Skrivant.clsConnectionHandler")  # keeps D's engine while its first print window goes
first = d.create("Skrivant.Application")
d.invoke(first, "LokalerPfad", LET, lokal)
unwrap(wait(d.send(first, OBJECT, "Release", dbus.UInt32(1)))[0])
d.create("Skrivant.Application")  # a new print window, in the local path
print(f"Reste={','.join(files(lokal))}", flush=True)

# E's record set never answers Fields; F meanwhile prints an invoice of its own.
e, spawned = Host(), []
def silent():
    if not spawned:
        spawned.append(subprocess.Popen([sys.executable, __file__, prefix, work, "nebenher"], stdout=subprocess.PIPE, text=True))
        GLib.child_watch_add(GLib.PRIORITY_DEFAULT, spawned[0].pid, lambda *x: spawned.append(time.monotonic() - begin))
form = e.create("Skrivant.clsDruckAllgemein")
handler = e.create("Skrivant.clsConnectionHandler")
for kind, member, *args in ((LET, "SQLGruppe_DB_Provider", 4, "Microsoft.Jet.OLEDB.4.0"),
                            (LET, "SQLGruppe_DB_Properties", 4, "Jet OLEDB:System database", daten + "SYSTEM.MDW"),
                            (LET, "SQLGruppe_DB_OpenConnection", 4, "Data Source=" + daten + "A.mdb"), (SET, "ConnectList", handler)):
    e.invoke(handler if member != "ConnectList" else form, member, kind, *args)
head = records(e, ["Nummer"], [4], [[4711]])
begin = time.monotonic()
answer = wait(e.start(form, "CreateFormularTyp", METHOD, 1001, "Lieferschein", "", 2, head.ref,
                      records(e, ["Artikel"], [10], [["Ringbuch"]], silent).ref), seconds=300)[0]
print(f"Rueckruf.Sekunden={time.monotonic() - begin:.1f}", flush=True)
print(f"Rueckruf={answer.get_dbus_message() if isinstance(answer, dbus.DBusException) else answer}", flush=True)
wait_until(lambda: len(spawned) > 1)  # F's end
print(f"Nebenher.Sekunden={spawned[1]:.1f}", flush=True)
print("".join("Nebenher." + line for line in spawned[0].stdout), end="", flush=True)
# E's engine serves E as before.
rows = records(e, ["Artikel"], [10], [["Ringbuch"]])
print(f"Danach={e.invoke(form, 'CreateFormularTyp', METHOD, 1001, 'Lieferschein', '', 2, head.ref, rows.ref)}", flush=True)
