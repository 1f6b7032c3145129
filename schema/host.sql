-- Tables of the print engine's host databases, as SQLite DDL. One file serves the host's
-- settings, form and document databases and the hand-over database of a print job: a host may
-- keep them in one file or in several, each made from this file.
--
-- Conventions:
--  * Text keys that the programs compare in SQL are declared COLLATE NOCASE, SQLite's own (ASCII
--    letters only) on every connection, so an index on them is in the order every program that
--    shares the file searches. Where a key must match umlauts in other letter case too
--    ("SKRV_BETRÄGEFORMAT", a workstation's name), the programs compare it through
--    Dialect::caseBlindEquals, which no file stores.
--  * Yes/No columns are declared BOOLEAN (True is stored as -1, any non-zero value reads True).
--  * Dates are declared DATETIME and hold "yyyy-MM-dd HH:mm:ss".
--  * SMALLINT is a 16-bit Integer of the host applications, INTEGER a 32-bit Long, DOUBLE a
--    Double. Tables without a key of their own get an ID so that any road can update one row.
--  * Statements end with ";" at the end of a line; nothing else in this file does. Lines
--    "--server: ..." are statements for database servers only; schema/ServerSchema.h puts the
--    file into PostgreSQL's and MariaDB's words.

-- Settings, one row per key. The unique key lets two workstations that add the same new key at
-- once end with one row (the second finds the first's); on SQLite it compares exactly, as every
-- program that writes the file orders it, on the servers without regard to case as the column
-- does. Tables made before it may hold duplicates, which the settings object deletes.
CREATE TABLE IF NOT EXISTS Vorgaben (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  FeldName TEXT COLLATE NOCASE,
  Wert TEXT,
  UNIQUE (FeldName COLLATE BINARY)
);

-- Forms (print templates), one row per form type and template number.
CREATE TABLE IF NOT EXISTS Auftrag_Formular_Neu (
  FormStatus INTEGER NOT NULL,
  FormNummer INTEGER NOT NULL,
  BerichtArt SMALLINT,
  Formatdatei TEXT,
  PDFArchivDatei TEXT,
  DeckblattDatei TEXT,
  AnzahlKopien SMALLINT,
  Absender TEXT,
  Kopftext TEXT,
  Betrefftext TEXT,
  ÜberschriftText TEXT,
  GewerkText TEXT,
  AngebotNrText TEXT,
  ProjektNrText TEXT,
  KundenNrText TEXT,
  SachbearbeiterText TEXT,
  DatumText TEXT,
  ProjektText TEXT,
  BauherrText TEXT,
  NettoBetragText TEXT,
  MwStText TEXT,
  EndBetragText TEXT,
  AllgemeinSchlussText TEXT,
  MengenEinheitFormat TEXT,
  MEFont_Name TEXT,
  MEFont_Size DOUBLE,
  MEFont_Bold BOOLEAN,
  MEFont_Italic BOOLEAN,
  MEFont_Underline BOOLEAN,
  MEFont_Strikethrough BOOLEAN,
  MEFont_Color INTEGER,
  PRIMARY KEY (FormStatus, FormNummer)
);

-- Display names of template numbers.
CREATE TABLE IF NOT EXISTS Auftrag_Formular_Vorlagen (
  FormularNr INTEGER NOT NULL PRIMARY KEY,
  FormularText TEXT
);

-- Printer and tray routes of a form per workstation ("$GLOBAL$" for all); VonExemplar -1 marks
-- the archive printer row.
CREATE TABLE IF NOT EXISTS Auftrag_Formular_Druckerschacht_Neu (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  FormStatus INTEGER,
  FormNummer INTEGER,
  RechnerName TEXT COLLATE NOCASE,
  VonExemplar INTEGER,
  BisExemplar INTEGER,
  VonSeite INTEGER,
  BisSeite INTEGER,
  Drucker TEXT,
  SchachtNr INTEGER,
  SchachtText TEXT,
  LetzteSeiteZuerst BOOLEAN
);
CREATE INDEX IF NOT EXISTS Auftrag_Formular_Druckerschacht_Neu_Form
  ON Auftrag_Formular_Druckerschacht_Neu (FormStatus, FormNummer);

-- Texts of one dunning level of a dunning template.
CREATE TABLE IF NOT EXISTS Auftrag_Formular_Mahnung (
  FormNummer INTEGER NOT NULL,
  FormStatus INTEGER NOT NULL,
  Mahnstufe SMALLINT NOT NULL,
  Überschrift TEXT,
  VorText TEXT,
  SchlussText TEXT,
  PRIMARY KEY (FormNummer, FormStatus, Mahnstufe)
);

-- Generic form types declared by hosts, and their fields.
CREATE TABLE IF NOT EXISTS Druck_Formulartypen (
  FormTypID INTEGER NOT NULL PRIMARY KEY,
  Bezeichnung TEXT,
  Beschreibung TEXT
);

CREATE TABLE IF NOT EXISTS Druck_Formulartypen_Felder (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  FormTypID INTEGER,
  Datenbereich SMALLINT,
  FeldName TEXT COLLATE NOCASE,
  DatenTyp INTEGER,
  DesignWert TEXT
);
CREATE INDEX IF NOT EXISTS Druck_Formulartypen_Felder_Typ ON Druck_Formulartypen_Felder (FormTypID);

-- Text blocks of the host.
CREATE TABLE IF NOT EXISTS TextBausteine (
  Nummer INTEGER NOT NULL PRIMARY KEY,
  Text TEXT
);

-- Addresses: group 1 customers, group 4 clerks.
CREATE TABLE IF NOT EXISTS Adressen (
  Gruppe INTEGER NOT NULL,
  Nummer INTEGER NOT NULL,
  SuchName TEXT COLLATE NOCASE,
  Telefon TEXT,
  Fax TEXT,
  eMail TEXT,
  Handy TEXT,
  zuHänden TEXT,
  UmsatzSteuerID TEXT,
  PRIMARY KEY (Gruppe, Nummer)
);

-- Articles. Bestand, ISBN and Matchcode are the columns the stock look-ups read.
CREATE TABLE IF NOT EXISTS Artikel (
  Artikelident INTEGER NOT NULL PRIMARY KEY,
  ISBN TEXT COLLATE NOCASE,
  ISBN_Text TEXT COLLATE NOCASE,
  Matchcode TEXT COLLATE NOCASE,
  Autor TEXT,
  EigeneArtikelNummer TEXT,
  Groesse TEXT,
  KatalogArtikelNummer TEXT,
  Bestand DOUBLE
);

-- Queue of "Kleinteile" documents in the hand-over database.
CREATE TABLE IF NOT EXISTS KT_DruckTabelle (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  Nummer INTEGER,
  SortID INTEGER,
  AnzahlKopien SMALLINT,
  RabattAusweisen BOOLEAN,
  Vorlage SMALLINT,
  AuchAlsPDF BOOLEAN,
  PDFdatei TEXT,
  RechBetrag DOUBLE,
  RechBetrag_voll DOUBLE,
  RechBetrag_halb DOUBLE,
  RechBetrag_Ohne DOUBLE,
  MWSTBetrag_voll DOUBLE,
  MWSTBetrag_halb DOUBLE,
  RabattBetrag DOUBLE,
  RabattBetrag_voll DOUBLE,
  RabattBetrag_halb DOUBLE,
  RabattBetrag_ohne DOUBLE,
  VorgangGedruckt BOOLEAN
);

-- Head of a "Kleinteile" document (the spellings RechungsDatum and BuchnungsDatum are the
-- hosts' column names).
CREATE TABLE IF NOT EXISTS KleinteilKopf (
  Nummer INTEGER NOT NULL PRIMARY KEY,
  Art SMALLINT,
  SchlussText TEXT,
  ZahlBedingung TEXT,
  VorText TEXT,
  EuroRechnung BOOLEAN,
  Organschaft BOOLEAN,
  Kundennummer INTEGER,
  Anrede_Titel TEXT,
  Anrede TEXT,
  Name1 TEXT,
  Name2 TEXT,
  Name3 TEXT,
  Strasse TEXT,
  Ort TEXT,
  PLZ TEXT,
  Land TEXT,
  L_KundenNummer INTEGER,
  L_Suchname TEXT,
  L_Anrede_Titel TEXT,
  L_Anrede TEXT,
  L_Name1 TEXT,
  L_Name2 TEXT,
  L_Name3 TEXT,
  L_Strasse TEXT,
  L_Ort TEXT,
  L_PLZ TEXT,
  L_Land TEXT,
  ErfassungsDatum DATETIME,
  RechungsDatum DATETIME,
  BuchnungsDatum DATETIME,
  Lieferdatum DATETIME,
  Bestelldatum DATETIME,
  Konto TEXT,
  GegenKonto TEXT,
  Bankeinzug BOOLEAN,
  Bankkonto TEXT,
  BLZ TEXT,
  AuftragsBestaetigungsNummer INTEGER,
  RechnungNummer INTEGER,
  LieferscheinNummer INTEGER,
  AngebotsNummer INTEGER,
  RGGutschriftsNummer INTEGER,
  RemissionsNummer INTEGER,
  FirmenBestellungsNummer TEXT,
  InternetBestellungsNummer TEXT,
  SkontoZiel INTEGER,
  Skonto DOUBLE,
  ZahlungZiel INTEGER,
  AboNummer INTEGER,
  AboRechnungsNummer INTEGER,
  AboLieferscheinNummer INTEGER,
  Abo_Benachrichtigung TEXT,
  GesamtRabatt BOOLEAN,
  Rabatt DOUBLE,
  SachbearbeiterNummer INTEGER,
  MWSThalb DOUBLE,
  MWSTvoll DOUBLE,
  Druckwährung TEXT,
  NettoRechnung BOOLEAN,
  Inaktiv BOOLEAN,
  RechnungBetragMwst_0 DOUBLE,
  RechnungBetragMwst_7 DOUBLE,
  RechnungBetragMwst_16 DOUBLE,
  RechnungMwst_16 DOUBLE,
  RechnungMwst_7 DOUBLE,
  RabattBetrag DOUBLE,
  Rechnungsbetrag DOUBLE,
  LieferscheinBetrag_0 DOUBLE,
  LieferscheinBetrag_7 DOUBLE,
  LieferscheinBetrag_16 DOUBLE,
  LieferscheinBetrag DOUBLE
);

-- Lines of a "Kleinteile" document.
CREATE TABLE IF NOT EXISTS KleinteilElemente (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  KopfNummer INTEGER,
  LaufendeNummer INTEGER,
  ArtikelNummer INTEGER,
  Kennziffer TEXT COLLATE NOCASE,
  VonPos INTEGER,
  PositionsNummer TEXT,
  Stueck DOUBLE,
  Bezeichnung TEXT,
  Matchcode TEXT,
  ISBN TEXT COLLATE NOCASE,
  Bemerkung TEXT,
  VK1 DOUBLE,
  VK2 DOUBLE,
  Rabatt DOUBLE,
  MWST SMALLINT,
  Sachbearbeiter TEXT,
  Kostenstelle TEXT,
  Besteller TEXT
);
CREATE INDEX IF NOT EXISTS KleinteilElemente_Kopf ON KleinteilElemente (KopfNummer, LaufendeNummer);

-- Hand-over table: the rows of one document, printed in LongKey order.
CREATE TABLE IF NOT EXISTS PrintInputTabelle (
  LongKey INTEGER PRIMARY KEY AUTOINCREMENT,
  ControlString TEXT COLLATE NOCASE,
  Feld1 TEXT,
  Menge DOUBLE,
  Bezeichnung TEXT,
  TextAusDatei TEXT,
  EP DOUBLE,
  VK DOUBLE,
  Rabatt DOUBLE,
  MWSTArt SMALLINT,
  MwStSatz DOUBLE,
  RabattFähig BOOLEAN,
  SkontoFähig BOOLEAN,
  EAN TEXT,
  Autor TEXT,
  Matchcode TEXT,
  Sachbearbeiter TEXT,
  Kostenstelle TEXT,
  KST_Ansprechpartner TEXT,
  Bemerkung TEXT,
  BildAusdatei TEXT
);

-- On database servers the keys the look-ups search are indexed (schema/ServerSchema.h); the
-- settings' unique key serves theirs.
--server: CREATE INDEX IF NOT EXISTS Artikel_ISBN ON Artikel (ISBN);
--server: CREATE INDEX IF NOT EXISTS Auftrag_Formular_Druckerschacht_Neu_Rechner ON Auftrag_Formular_Druckerschacht_Neu (RechnerName, FormStatus, FormNummer);

-- Saved parameter queries of the data layer: the command text "Name(arg, ...)" runs SqlText
-- with one "?" per argument.
CREATE TABLE IF NOT EXISTS SavedQueries (
  Name TEXT NOT NULL COLLATE NOCASE,
  SqlText TEXT NOT NULL
);
