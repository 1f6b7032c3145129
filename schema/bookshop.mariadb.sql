-- The saved query of bookshop.sql on MariaDB: a procedure the data layer calls as
-- "CALL ArtikelBestelltVerplant(n)". One row: the article's quantity on open supplier orders
-- (status "BE" or "AO") and reserved for customers, 0 where there is none.
CREATE OR REPLACE PROCEDURE ArtikelBestelltVerplant(IN p_Artikelident INTEGER)
  SELECT (SELECT COALESCE(SUM(d.Menge), 0) FROM Artikel_LieferantBestellungen_Details d
          INNER JOIN Artikel_LieferantBestellungen b ON b.VorgangNr = d.VorgangNr
          WHERE d.Artikelident = p_Artikelident AND b.Status IN ('BE', 'AO')) AS Bestellt,
         (SELECT COALESCE(SUM(r.MengeBestellt), 0) FROM Artikel_KundenReservierung_Details r
          WHERE r.Artikelident = p_Artikelident) AS Reserviert;
