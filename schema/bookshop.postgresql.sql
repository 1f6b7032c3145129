-- The saved query of bookshop.sql on PostgreSQL: a function the data layer calls as
-- "SELECT * FROM ArtikelBestelltVerplant(n)". One row: the article's quantity on open supplier
-- orders (status "BE" or "AO") and reserved for customers, 0 where there is none.
CREATE OR REPLACE FUNCTION ArtikelBestelltVerplant(p_Artikelident INTEGER)
  RETURNS TABLE (Bestellt BIGINT, Reserviert BIGINT) LANGUAGE sql STABLE AS $$
  SELECT (SELECT COALESCE(SUM(d.Menge), 0) FROM Artikel_LieferantBestellungen_Details d
          INNER JOIN Artikel_LieferantBestellungen b ON b.VorgangNr = d.VorgangNr
          WHERE d.Artikelident = p_Artikelident AND b.Status IN ('BE', 'AO'))::BIGINT,
         (SELECT COALESCE(SUM(r.MengeBestellt), 0) FROM Artikel_KundenReservierung_Details r
          WHERE r.Artikelident = p_Artikelident)::BIGINT
$$;
