-- The suite's database. Texts are UTF-8, dates of business documents are
-- yyyymmdd texts, moments are "yyyy-mm-dd hh:nn:ss" texts. The codes the
-- programs ask for (ADMMB, VRKMA, CMSMB, ...) are the names of lookups and
-- checks; the PilgarServerS module maps each of them onto these tables.

PRAGMA user_version = 1;

-- Companies and their databases.
CREATE TABLE company (
  company_id TEXT PRIMARY KEY,
  name       TEXT NOT NULL,
  db_name    TEXT NOT NULL DEFAULT ''
);

-- System settings by company; company '*' holds the defaults that every
-- company inherits unless it has its own value.
CREATE TABLE sys_setting (
  company_id TEXT NOT NULL,
  name       TEXT NOT NULL COLLATE NOCASE,
  value      TEXT NOT NULL DEFAULT '',
  note       TEXT NOT NULL DEFAULT '',
  PRIMARY KEY (company_id, name)
);

-- Message texts by type letter and six-digit number; "%s" marks an argument.
CREATE TABLE message (
  msg_type   TEXT NOT NULL,
  msg_number TEXT NOT NULL,
  text       TEXT NOT NULL,
  PRIMARY KEY (msg_type, msg_number)
);

-- Program master (lookups ADMMB 01 and 11).
CREATE TABLE program (
  code            TEXT PRIMARY KEY COLLATE NOCASE,
  name            TEXT NOT NULL,
  name_en         TEXT NOT NULL DEFAULT '',
  kind            TEXT NOT NULL DEFAULT 'R',   -- R report, B batch, ...
  module          TEXT NOT NULL DEFAULT '',    -- system the program belongs to
  log_flag        TEXT NOT NULL DEFAULT 'N',   -- Y: direct queries are logged as jobs
  no_direct_query TEXT NOT NULL DEFAULT 'N',   -- Y: direct query is not offered
  server_class    TEXT NOT NULL DEFAULT '',
  version         TEXT NOT NULL DEFAULT ''
);

-- Users (lookup VRKMA 04).
CREATE TABLE app_user (
  user_id  TEXT PRIMARY KEY COLLATE NOCASE,
  name     TEXT NOT NULL,
  mobile   TEXT NOT NULL DEFAULT '',
  mail     TEXT NOT NULL DEFAULT '',
  group_id TEXT NOT NULL DEFAULT '',
  active   TEXT NOT NULL DEFAULT 'Y'
);

-- Rights of a user on a program ('*': every program without a row of its
-- own). rights is a text of Y/N flags, one per right; position 7 is the
-- export right and position 8 the right to see prices and amounts.
CREATE TABLE user_right (
  user_id      TEXT NOT NULL COLLATE NOCASE,
  program_code TEXT NOT NULL COLLATE NOCASE,
  rights       TEXT NOT NULL,
  PRIMARY KEY (user_id, program_code)
);

-- Base-data limits of a user: each entry "TABLE=code,code,..." lets the user
-- see only those codes of that lookup table (CMSMB plants, PURMA suppliers,
-- CMSMF currencies). limit_group is the text sent ahead of the entries.
CREATE TABLE user_limit (
  user_id     TEXT NOT NULL COLLATE NOCASE,
  seq         INTEGER NOT NULL,
  limit_group TEXT NOT NULL DEFAULT '',
  entry       TEXT NOT NULL,
  PRIMARY KEY (user_id, seq)
);

-- Integration settings, read by name with plain SQL from the clients.
CREATE TABLE VRKINTMA (
  MA001 TEXT PRIMARY KEY,            -- setting name
  MA002 TEXT NOT NULL DEFAULT '',    -- description
  MA003 TEXT NOT NULL DEFAULT ''     -- value
);

-- Report settings of a program (lookup CMSMT 01): the footer and sign-off
-- blocks printed by default, and whether the user may pick others.
CREATE TABLE report_setting (
  program_code    TEXT PRIMARY KEY COLLATE NOCASE,
  note_id         TEXT NOT NULL DEFAULT '',
  note_pickable   TEXT NOT NULL DEFAULT 'Y',
  note_every_page TEXT NOT NULL DEFAULT 'N',
  note1           TEXT NOT NULL DEFAULT '',
  note2           TEXT NOT NULL DEFAULT '',
  note3           TEXT NOT NULL DEFAULT '',
  sign_id         TEXT NOT NULL DEFAULT '',
  sign_pickable   TEXT NOT NULL DEFAULT 'Y',
  sign_every_page TEXT NOT NULL DEFAULT 'N',
  sign1           TEXT NOT NULL DEFAULT '',
  sign2           TEXT NOT NULL DEFAULT '',
  sign3           TEXT NOT NULL DEFAULT ''
);

-- Footer ('1') and sign-off ('2') blocks (lookup CMSMS 01).
CREATE TABLE report_block (
  block_kind TEXT NOT NULL CHECK (block_kind IN ('1', '2')),
  block_id   TEXT NOT NULL,
  name       TEXT NOT NULL DEFAULT '',
  line1      TEXT NOT NULL DEFAULT '',
  line2      TEXT NOT NULL DEFAULT '',
  line3      TEXT NOT NULL DEFAULT '',
  PRIMARY KEY (block_kind, block_id)
);

-- Web-report sites (lookup CMSMA 02: the first active site's address).
CREATE TABLE web_site (
  site_id     TEXT PRIMARY KEY,
  url         TEXT NOT NULL,
  description TEXT NOT NULL DEFAULT '',
  active      TEXT NOT NULL DEFAULT 'Y'
);

-- Plants (lookup CMSMB 01), currencies (CMSMF 01), suppliers (PURMA 01).
CREATE TABLE plant (
  code       TEXT PRIMARY KEY,
  name       TEXT NOT NULL,
  short_name TEXT NOT NULL DEFAULT '',
  address    TEXT NOT NULL DEFAULT ''
);

CREATE TABLE currency (
  code   TEXT PRIMARY KEY,
  name   TEXT NOT NULL,
  symbol TEXT NOT NULL DEFAULT '',
  rate   REAL NOT NULL DEFAULT 1
);

CREATE TABLE supplier (
  code       TEXT PRIMARY KEY,
  short_name TEXT NOT NULL,
  full_name  TEXT NOT NULL DEFAULT '',
  contact    TEXT NOT NULL DEFAULT '',
  phone      TEXT NOT NULL DEFAULT '',
  currency   TEXT NOT NULL REFERENCES currency(code)
);

CREATE TABLE item (
  code  TEXT PRIMARY KEY,
  name  TEXT NOT NULL,
  model TEXT NOT NULL DEFAULT '',
  unit  TEXT NOT NULL DEFAULT '',
  price REAL NOT NULL DEFAULT 0
);

-- Goods-receipt documents (lookup ASTTO 01) and their lines.
CREATE TABLE receipt (
  doc_type     TEXT NOT NULL,            -- up to 4 characters
  doc_no       TEXT NOT NULL,            -- up to 11 characters
  doc_date     TEXT NOT NULL,            -- yyyymmdd
  accept_date  TEXT NOT NULL,            -- yyyymmdd
  supplier     TEXT NOT NULL REFERENCES supplier(code),
  plant        TEXT NOT NULL REFERENCES plant(code),
  currency     TEXT NOT NULL REFERENCES currency(code),
  rate         REAL NOT NULL DEFAULT 1,
  approval     TEXT NOT NULL CHECK (approval IN ('Y', 'N', 'V')),  -- approved, not yet, void
  closing      TEXT NOT NULL CHECK (closing IN ('Y', 'N')),
  payment_hold TEXT NOT NULL CHECK (payment_hold IN ('Y', 'N')),
  po_type      TEXT NOT NULL DEFAULT '', -- purchase order, '' when none
  po_no        TEXT NOT NULL DEFAULT '',
  remark       TEXT NOT NULL DEFAULT '',
  PRIMARY KEY (doc_type, doc_no)
);
CREATE INDEX receipt_by_doc_date ON receipt (doc_date);
CREATE INDEX receipt_by_accept_date ON receipt (accept_date);
CREATE INDEX receipt_by_supplier ON receipt (supplier);

CREATE TABLE receipt_line (
  doc_type   TEXT NOT NULL,
  doc_no     TEXT NOT NULL,
  line_no    INTEGER NOT NULL,
  item_code  TEXT NOT NULL REFERENCES item(code),
  quantity   REAL NOT NULL,
  unit_price REAL NOT NULL,
  amount     REAL NOT NULL,
  po_line    INTEGER,                    -- line of the purchase order, NULL when none
  PRIMARY KEY (doc_type, doc_no, line_no),
  FOREIGN KEY (doc_type, doc_no) REFERENCES receipt (doc_type, doc_no) ON DELETE CASCADE
);

-- Condition schemes, one per name, user and program. The texts are kept as
-- the exact bytes the client sent (GB), so that any byte comes back as it
-- went in; hence BLOBs.
CREATE TABLE condition_scheme (
  ncondition  BLOB NOT NULL,   -- scheme name
  creator     BLOB NOT NULL,   -- user
  programme   BLOB NOT NULL,   -- program code
  create_date TEXT NOT NULL,   -- yyyymmdd
  scondition  BLOB NOT NULL,   -- property list
  vcondition  BLOB NOT NULL,   -- value text
  PRIMARY KEY (ncondition, creator, programme)
);

-- Jobs received by the report server. request_json is the whole request as
-- received, in tagged JSON (every kind and bound kept).
CREATE TABLE job (
  seq           INTEGER PRIMARY KEY,
  job_id        TEXT NOT NULL UNIQUE,
  operation     TEXT NOT NULL,           -- Request or Request1
  user_id       TEXT NOT NULL,
  program_code  TEXT NOT NULL,
  company_id    TEXT NOT NULL DEFAULT '',
  db_name       TEXT NOT NULL DEFAULT '',
  program_kind  TEXT NOT NULL DEFAULT '',
  gen_mode      INTEGER,                 -- 0 queue, 1 real time, 2 at run_at
  status        TEXT NOT NULL,           -- Q queued, L run by the client, F finished
  created_at    TEXT NOT NULL,
  run_at        TEXT NOT NULL DEFAULT '',
  updated_at    TEXT NOT NULL,
  computer_name TEXT NOT NULL DEFAULT '',
  status_text   TEXT NOT NULL DEFAULT '',
  request_json  TEXT NOT NULL
);
CREATE INDEX job_by_user ON job (user_id, program_code);

-- Named counters by company (GetCounter).
CREATE TABLE counter (
  company_id TEXT NOT NULL,
  name       TEXT NOT NULL COLLATE NOCASE,
  value      INTEGER NOT NULL,
  PRIMARY KEY (company_id, name)
);
