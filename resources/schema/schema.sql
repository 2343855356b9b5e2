-- The main database: clients, their tests, expert programs and their condition rows.
-- The template VoSpa.mdb is built from this script; main and transfer databases are copies.
--
-- Column types: text and memo are TEXT, yes/no is INTEGER 0/1, date/time is REAL (OLE day
-- number), double is REAL, long is INTEGER, pictures are BLOB. AUTOINCREMENT keeps a deleted
-- key from ever being handed out again.
--
-- Client and program numbers compare without regard to case and are unique. Links from
-- tests to clients and from condition rows to programs are kept by the program, not by the
-- database: a test or a condition row whose owner is missing is stored as it is, so that
-- copies from other installations never fail on one orphan row. Yes/no columns are never
-- null: files from earlier installations hold 0 where no value was given.
--
-- The program carries this script and rebuilds a main database made by an earlier version
-- of it when it opens the database, so every statement here is compared with the stored one.

CREATE TABLE VOCUST (
  MKEY INTEGER PRIMARY KEY AUTOINCREMENT,
  CUSTNO TEXT NOT NULL COLLATE NOCASE UNIQUE,
  NAME TEXT,
  SEX INTEGER NOT NULL DEFAULT 0,
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
  PrtFG INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE VODATA (
  MKEY INTEGER PRIMARY KEY AUTOINCREMENT,
  CUSTNO TEXT NOT NULL COLLATE NOCASE,
  VODATE REAL,
  VOVOTA INTEGER NOT NULL DEFAULT 0,
  MEMO1 TEXT,
  MEMO2 TEXT,
  AutoKey TEXT,
  VO1 REAL, VO2 REAL, VO3 REAL, VO4 REAL, VO5 REAL, VO6 REAL,
  VO7 REAL, VO8 REAL, VO9 REAL, VO10 REAL, VO11 REAL, VO12 REAL,
  VO13 REAL, VO14 REAL, VO15 REAL, VO16 REAL, VO17 REAL, VO18 REAL,
  VO19 REAL, VO20 REAL, VO21 REAL, VO22 REAL, VO23 REAL, VO24 REAL,
  PrtFG INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE VOPRO (
  MKEY INTEGER PRIMARY KEY AUTOINCREMENT,
  ProNo TEXT NOT NULL COLLATE NOCASE UNIQUE,
  ProName TEXT,
  ProData TEXT,
  ProPict BLOB,
  ProScal INTEGER NOT NULL DEFAULT 0,
  ProFN TEXT,
  ProScrp1 TEXT, ProScrp2 TEXT, ProScrp3 TEXT, ProScrp4 TEXT,
  ProPrg1 TEXT, ProPrg2 TEXT, ProPrg3 TEXT, ProPrg4 TEXT,
  ProParm1 TEXT, ProParm2 TEXT, ProParm3 TEXT, ProParm4 TEXT,
  PrtFG INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE VOPRDT (
  MKEY INTEGER PRIMARY KEY AUTOINCREMENT,
  ProNo TEXT NOT NULL COLLATE NOCASE,
  ProSubN TEXT,
  ProNote TEXT,
  ProAnd TEXT,
  ProCond TEXT,
  ProEng REAL,
  ProAGL INTEGER,
  ProAGH INTEGER,
  ProFlg INTEGER NOT NULL DEFAULT 0,
  PrtFG INTEGER NOT NULL DEFAULT 0
);

-- The named indexes the windows open the tables with.
CREATE INDEX VOCS1 ON VOCUST (NAME);
CREATE INDEX VODT1 ON VODATA (CUSTNO, VODATE);
CREATE INDEX VoProB ON VOPRO (ProName);
CREATE INDEX VOPRDT_ProNo ON VOPRDT (ProNo);

-- Earlier versions' main databases already copied in, by the SHA-256 of the file: a start
-- interrupted between that copy and the renaming of the old file only completes the rename.
CREATE TABLE MIGRATED (Sha256 TEXT PRIMARY KEY, MigratedAt REAL);

-- Commands of expert programs the operator of this installation approved, by the SHA-256 of
-- the command (program and parameter): a run button starts any other only after asking.
CREATE TABLE APPROVED (Sha256 TEXT PRIMARY KEY, ApprovedAt REAL);
