-- The Korvel point-of-sale schema as the embedded (SQLite) database keeps it:
-- every table and column the exporter reads or writes. Text columns compare
-- with COLLATE RTRIM so that, as on SQL Server, trailing blanks do not matter
-- ('FA   ' = 'FA'). Date-times are stored as text 'YYYY-MM-DD HH:MM:SS';
-- amounts as numbers (NUMERIC affinity), read back to four decimals.

CREATE TABLE IF NOT EXISTS versao (
  major INTEGER
);

CREATE TABLE IF NOT EXISTS clientes (
  codigo INTEGER NOT NULL PRIMARY KEY,
  nome VARCHAR(50) COLLATE RTRIM,
  contribuinte VARCHAR(15) COLLATE RTRIM,
  morada VARCHAR(250) COLLATE RTRIM,
  localidade VARCHAR(50) COLLATE RTRIM,
  codpostal VARCHAR(4) COLLATE RTRIM,
  codpostal1 VARCHAR(4) COLLATE RTRIM,
  datacriacao DATETIME,
  valormov NUMERIC,
  valordivida NUMERIC
);
CREATE INDEX IF NOT EXISTS clientes_contribuinte ON clientes (contribuinte);

CREATE TABLE IF NOT EXISTS fornecedores (
  codigo INTEGER NOT NULL PRIMARY KEY,
  nome VARCHAR(50) COLLATE RTRIM,
  contribuinte VARCHAR(15) COLLATE RTRIM,
  morada VARCHAR(50) COLLATE RTRIM,
  localidade VARCHAR(50) COLLATE RTRIM,
  codpostal VARCHAR(3) COLLATE RTRIM,
  codpostal1 VARCHAR(4) COLLATE RTRIM
);

CREATE TABLE IF NOT EXISTS unidades (
  codigo INTEGER NOT NULL PRIMARY KEY,
  descricao VARCHAR(50) COLLATE RTRIM
);

CREATE TABLE IF NOT EXISTS produtos (
  codigo INTEGER NOT NULL PRIMARY KEY,
  descricao VARCHAR(50) COLLATE RTRIM,
  familia INTEGER,
  unidade INTEGER,
  isencao VARCHAR(5) COLLATE RTRIM
);

CREATE TABLE IF NOT EXISTS iva (
  codigo INTEGER NOT NULL PRIMARY KEY,
  descricao VARCHAR(50) COLLATE RTRIM
);

CREATE TABLE IF NOT EXISTS motivos_isencao (
  codigo VARCHAR(5) COLLATE RTRIM NOT NULL PRIMARY KEY,
  norma VARCHAR(255) COLLATE RTRIM
);

-- Every document of the point of sale: tickets (TK), invoices (FA, FT),
-- simplified invoices (FS), sale receipts (VD), credit notes (NC), table
-- consultations (CM) and receipts (RC).
CREATE TABLE IF NOT EXISTS documentos (
  doc VARCHAR(50) COLLATE RTRIM NOT NULL,
  numero INTEGER NOT NULL,
  data DATETIME,
  datahora DATETIME,
  cliente INTEGER,
  nome VARCHAR(50) COLLATE RTRIM,
  morada TEXT COLLATE RTRIM,
  contribuinte VARCHAR(50) COLLATE RTRIM,
  total NUMERIC,
  liquido NUMERIC,
  anulado INTEGER DEFAULT 0,
  hash VARCHAR(255) COLLATE RTRIM,
  hashcontrol VARCHAR(10) COLLATE RTRIM,
  saftsign VARCHAR(255) COLLATE RTRIM,
  emp VARCHAR(10) COLLATE RTRIM,
  CashVATScheme INTEGER DEFAULT 0,
  pagamento INTEGER DEFAULT 0,
  isencao VARCHAR(5) COLLATE RTRIM,
  PRIMARY KEY (doc, numero)
);
CREATE INDEX IF NOT EXISTS documentos_data ON documentos (data, doc);
CREATE INDEX IF NOT EXISTS documentos_cliente ON documentos (cliente);

-- Sale lines of every document; codigo -999 marks a withholding line.
CREATE TABLE IF NOT EXISTS vendas (
  id INTEGER PRIMARY KEY,
  doc VARCHAR(50) COLLATE RTRIM NOT NULL,
  numero INTEGER NOT NULL,
  codigo INTEGER,
  descricao VARCHAR(50) COLLATE RTRIM,
  qtd REAL,
  punit NUMERIC,
  iva INTEGER,
  total NUMERIC,
  valor NUMERIC,
  desconto NUMERIC,
  isencao VARCHAR(5) COLLATE RTRIM,
  data DATETIME
);
CREATE INDEX IF NOT EXISTS vendas_documento ON vendas (doc, numero);
CREATE INDEX IF NOT EXISTS vendas_data ON vendas (data, codigo);

-- Settlements: a receipt (RC) settling an invoice (FA) or credit note (NC),
-- or a table consultation (CM) turned into a sale (TK, VD, FA, FS, FT).
CREATE TABLE IF NOT EXISTS compensacoes (
  id INTEGER PRIMARY KEY,
  RC INTEGER,
  FA INTEGER,
  NC INTEGER,
  TK INTEGER,
  VD INTEGER,
  FS INTEGER,
  FT INTEGER,
  CM INTEGER,
  valor NUMERIC,
  data DATETIME
);
CREATE INDEX IF NOT EXISTS compensacoes_recibo ON compensacoes (RC);
CREATE INDEX IF NOT EXISTS compensacoes_data ON compensacoes (data);
