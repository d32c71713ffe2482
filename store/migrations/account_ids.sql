-- Version 6: every account carries an id that is never given again, so an account deleted and
-- made anew under the same name is another account to the sessions that knew the old one.
CREATE TABLE yh_with_ids (
  id   INTEGER PRIMARY KEY AUTOINCREMENT,
  user TEXT NOT NULL COLLATE NOCASE UNIQUE,
  pass TEXT NOT NULL,
  qx   TEXT NOT NULL,
  xx   TEXT NOT NULL DEFAULT '' COLLATE NOCASE,
  nj   TEXT NOT NULL DEFAULT '' COLLATE NOCASE,
  bc   TEXT NOT NULL DEFAULT '' COLLATE NOCASE
);
INSERT INTO yh_with_ids (id, user, pass, qx, xx, nj, bc)
SELECT rowid, user, pass, qx, xx, nj, bc FROM yh ORDER BY rowid;
DROP TABLE yh;
ALTER TABLE yh_with_ids RENAME TO yh;
