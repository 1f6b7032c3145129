-- Tables of the bookshop's databases that the stock servers read and write, as SQLite DDL.
-- The article database ("DBName", connection group 4) and the bookshop data file ("DBNameDat",
-- group 1, which holds Vorgaben) may be one file or two, each made from this file; on the SQL
-- Server road both groups open the same database.
--
-- Conventions are those of host.sql: text keys compared in SQL are COLLATE NOCASE (an ISBN
-- stored as "3-12-345678-x" is found as "3-12-345678-X"); quantities are whole pieces; tables
-- without a key of their own get an ID so that any road can update one row.
-- Every key the look-ups and the branch synchronisation search has an index. NOCASE is SQLite's
-- own on every connection, ours too, so the indexes serve the sqlite3 shell and the ODBC driver
-- whatever the keys hold; the servers find umlauts in other letter case through them as well
-- (Dialect::caseBlindEquals). The unique key of Vorgaben.FeldName compares exactly (BINARY), as
-- every program orders it. The servers add missing indexes to an older file when they open it
-- (stockservers/common/LagerIndizes).
-- Statements end with ";" at the end of a line; nothing else in this file does.

-- Articles. Bestand is the own stock; an article without ISBN is known by EigeneArtikelNummer.
-- The columns after Warengruppe are those the print engine's host databases give Artikel, so a
-- file made from both schemas serves both.
CREATE TABLE IF NOT EXISTS Artikel (
  Artikelident INTEGER NOT NULL PRIMARY KEY,
  ISBN TEXT COLLATE NOCASE,
  Matchcode TEXT COLLATE NOCASE,
  Bestand INTEGER,
  EigeneArtikelNummer TEXT COLLATE NOCASE,
  Warengruppe TEXT,
  ISBN_Text TEXT COLLATE NOCASE,
  Autor TEXT,
  Groesse TEXT,
  KatalogArtikelNummer TEXT
);
CREATE INDEX IF NOT EXISTS Artikel_ISBN ON Artikel (ISBN);

-- Title numbers of articles at their suppliers (wholesalers are told apart by LieferantNr, the
-- supplier's address number).
CREATE TABLE IF NOT EXISTS [Artikel Einkauf] (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  Artikelident INTEGER,
  LieferantNr INTEGER,
  TitelNr TEXT COLLATE NOCASE
);
CREATE INDEX IF NOT EXISTS Artikel_Einkauf_TitelNr ON [Artikel Einkauf] (TitelNr, LieferantNr);

-- Supplier orders: Status "BE" ordered, "AO" open order; other states are no longer open.
CREATE TABLE IF NOT EXISTS Artikel_LieferantBestellungen (
  VorgangNr INTEGER NOT NULL PRIMARY KEY,
  Status TEXT COLLATE NOCASE,
  LieferantNr INTEGER
);

CREATE TABLE IF NOT EXISTS Artikel_LieferantBestellungen_Details (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  VorgangNr INTEGER,
  Artikelident INTEGER,
  Menge INTEGER
);
CREATE INDEX IF NOT EXISTS Artikel_LieferantBestellungen_Details_Artikel
  ON Artikel_LieferantBestellungen_Details (Artikelident);

-- Customer reservations. The pickup shelf is no table of its own: MengeZugewiesen is the part of
-- a reservation that has been assigned and lies on the shelf for the customer.
CREATE TABLE IF NOT EXISTS Artikel_KundenReservierung_Details (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  Artikelident INTEGER,
  MengeBestellt INTEGER,
  MengeZugewiesen INTEGER
);
CREATE INDEX IF NOT EXISTS Artikel_KundenReservierung_Details_Artikel
  ON Artikel_KundenReservierung_Details (Artikelident);

-- ISBN stack: numbers looked up but not in stock, queued for the buyer.
CREATE TABLE IF NOT EXISTS Artikel_ISBN_Stapel (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  ISBN TEXT COLLATE NOCASE,
  Min INTEGER,
  Max INTEGER,
  MEnge INTEGER,
  MengeÜbernommen INTEGER
);
CREATE INDEX IF NOT EXISTS Artikel_ISBN_Stapel_ISBN ON Artikel_ISBN_Stapel (ISBN);

-- The shop's branches.
CREATE TABLE IF NOT EXISTS Artikel_Filialen (
  FilialNr INTEGER NOT NULL PRIMARY KEY,
  Bezeichnung TEXT
);

-- Stock of the other branches, as the branch synchronisation stores it. ISBN holds the article
-- key of the web service: the ISBN, or "E" and the own article number.
CREATE TABLE IF NOT EXISTS Artikel_Filialbestände (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  FilialNr INTEGER,
  ISBN TEXT COLLATE NOCASE,
  Bestand INTEGER,
  Reserviert INTEGER,
  Bestellt INTEGER,
  LetztUpdate TEXT
);
CREATE INDEX IF NOT EXISTS Artikel_Filialbestaende_Filiale ON Artikel_Filialbestände (FilialNr, ISBN);
CREATE INDEX IF NOT EXISTS Artikel_Filialbestaende_LetztUpdate ON Artikel_Filialbestände (LetztUpdate);

-- Queue of changed articles, filled by the host: updated 0 not yet sent, 1 sent; gelöscht 0 not
-- deleted; ISBN "INIT" marks the rows of an initial upload.
CREATE TABLE IF NOT EXISTS Artikel_geändert (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  Artikelident INTEGER,
  updated SMALLINT DEFAULT 0,
  gelöscht SMALLINT DEFAULT 0,
  ISBN TEXT COLLATE NOCASE
);
CREATE INDEX IF NOT EXISTS Artikel_geaendert_Artikel ON Artikel_geändert (Artikelident);

-- Settings of the bookshop data file, e.g. the wholesalers' address numbers "LibriAdressNr",
-- "KNOAdressNr", "KOEAdressNr", "UmbreitAdressNr". One row per key, as in host.sql.
CREATE TABLE IF NOT EXISTS Vorgaben (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  FeldName TEXT COLLATE NOCASE,
  Wert TEXT,
  UNIQUE (FeldName COLLATE BINARY)
);

-- Saved parameter queries of the data layer, as in host.sql.
CREATE TABLE IF NOT EXISTS SavedQueries (
  Name TEXT NOT NULL COLLATE NOCASE,
  SqlText TEXT NOT NULL
);

-- ArtikelBestelltVerplant(Artikelident): one row with the article's quantity on open supplier
-- orders (Bestellt: status "BE" or "AO") and reserved for customers (Reserviert, pickup shelf
-- included), 0 where there is none. On the SQL Server road it is the stored procedure of the
-- same name, which the data layer calls as {CALL ArtikelBestelltVerplant(n)}:
--   CREATE PROCEDURE ArtikelBestelltVerplant @Artikelident INT AS
--   SELECT (SELECT COALESCE(SUM(d.Menge), 0) FROM Artikel_LieferantBestellungen_Details d
--           INNER JOIN Artikel_LieferantBestellungen b ON b.VorgangNr = d.VorgangNr
--           WHERE d.Artikelident = @Artikelident AND b.Status IN ('BE', 'AO')) AS Bestellt,
--          (SELECT COALESCE(SUM(r.MengeBestellt), 0) FROM Artikel_KundenReservierung_Details r
--           WHERE r.Artikelident = @Artikelident) AS Reserviert
INSERT INTO SavedQueries (Name, SqlText)
SELECT 'ArtikelBestelltVerplant',
  'WITH a(id) AS (SELECT ?) SELECT '
  || '(SELECT COALESCE(SUM(d.Menge), 0) FROM Artikel_LieferantBestellungen_Details d '
  || 'INNER JOIN Artikel_LieferantBestellungen b ON b.VorgangNr = d.VorgangNr '
  || 'WHERE d.Artikelident = a.id AND b.Status IN (''BE'', ''AO'')) AS Bestellt, '
  || '(SELECT COALESCE(SUM(r.MengeBestellt), 0) FROM Artikel_KundenReservierung_Details r '
  || 'WHERE r.Artikelident = a.id) AS Reserviert FROM a'
WHERE NOT EXISTS (SELECT 1 FROM SavedQueries WHERE Name = 'ArtikelBestelltVerplant');

-- On database servers also the branch figures by ISBN first (schema/ServerSchema.h).
--server: CREATE INDEX IF NOT EXISTS Artikel_Filialbestände_ISBN ON Artikel_Filialbestände (ISBN, FilialNr);
