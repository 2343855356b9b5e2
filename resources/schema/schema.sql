-- The main database: clients, their tests, expert programs and their condition rows.
-- The template VoSpa.mdb is built from this script; main and transfer databases are copies.
--
-- Column types: text and memo are TEXT, yes/no is INTEGER 0/1, date/time is REAL (OLE day
-- number), double is REAL, long is INTEGER, pictures are BLOB. AUTOINCREMENT keeps a deleted
-- key from ever being handed out again.
--
-- Client and program numbers compare without regard to case. Tests and condition rows
-- belong to their client or program; the check is deferred to the end of a transaction so
-- that a copy or a replace can write master and detail rows in any order.

PRAGMA foreign_keys = ON;

CREATE TABLE VOCUST (
  MKEY INTEGER PRIMARY KEY AUTOINCREMENT,
  CUSTNO TEXT NOT NULL COLLATE NOCASE UNIQUE,
  NAME TEXT,
  SEX INTEGER,
  DBIRTH REAL,
  ADDR TEXT,
  TEL TEXT,
  TEL2 TEXT,
  TEL3 TEXT,
  EMAIL TEXT,
  BTYPE TEXT,
  HEIGHT REAL,
  WEIGHT REAL,
  MEMO TEXT,
  CUSTCAT TEXT,
  CUSTFG TEXT,
  PrtFG INTEGER
);

CREATE TABLE VODATA (
  MKEY INTEGER PRIMARY KEY AUTOINCREMENT,
  CUSTNO TEXT NOT NULL COLLATE NOCASE
    REFERENCES VOCUST (CUSTNO) ON UPDATE CASCADE ON DELETE CASCADE
    DEFERRABLE INITIALLY DEFERRED,
  VODATE REAL,
  VOVOTA INTEGER,
  MEMO1 TEXT,
  MEMO2 TEXT,
  AutoKey TEXT,
  VO1 REAL, VO2 REAL, VO3 REAL, VO4 REAL, VO5 REAL, VO6 REAL,
  VO7 REAL, VO8 REAL, VO9 REAL, VO10 REAL, VO11 REAL, VO12 REAL,
  VO13 REAL, VO14 REAL, VO15 REAL, VO16 REAL, VO17 REAL, VO18 REAL,
  VO19 REAL, VO20 REAL, VO21 REAL, VO22 REAL, VO23 REAL, VO24 REAL,
  PrtFG INTEGER
);

CREATE TABLE VOPRO (
  MKEY INTEGER PRIMARY KEY AUTOINCREMENT,
  ProNo TEXT NOT NULL COLLATE NOCASE UNIQUE,
  ProName TEXT,
  ProData TEXT,
  ProPict BLOB,
  ProScal INTEGER,
  ProFN TEXT,
  ProScrp1 TEXT, ProScrp2 TEXT, ProScrp3 TEXT, ProScrp4 TEXT,
  ProPrg1 TEXT, ProPrg2 TEXT, ProPrg3 TEXT, ProPrg4 TEXT,
  ProParm1 TEXT, ProParm2 TEXT, ProParm3 TEXT, ProParm4 TEXT,
  PrtFG INTEGER
);

CREATE TABLE VOPRDT (
  MKEY INTEGER PRIMARY KEY AUTOINCREMENT,
  ProNo TEXT NOT NULL COLLATE NOCASE
    REFERENCES VOPRO (ProNo) ON UPDATE CASCADE ON DELETE CASCADE
    DEFERRABLE INITIALLY DEFERRED,
  ProSubN TEXT,
  ProNote TEXT,
  ProAnd TEXT,
  ProCond TEXT,
  ProEng REAL,
  ProAGL INTEGER,
  ProAGH INTEGER,
  ProFlg INTEGER,
  PrtFG INTEGER
);

-- The named indexes the windows open the tables with.
CREATE INDEX VOCS1 ON VOCUST (NAME);
CREATE INDEX VODT1 ON VODATA (CUSTNO, VODATE);
CREATE INDEX VoProB ON VOPRO (ProName);
CREATE INDEX VOPRDT_ProNo ON VOPRDT (ProNo);
