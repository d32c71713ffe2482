-- Version 5: the first password each student was given on the results site, kept so that a
-- lost slip can be printed again. One row per cloud account and exam number.
CREATE TABLE IF NOT EXISTS first_password (
  account    INTEGER NOT NULL,
  student    TEXT NOT NULL COLLATE NOCASE,
  password   TEXT NOT NULL,
  given_at   TEXT NOT NULL,
  PRIMARY KEY (account, student)
);
