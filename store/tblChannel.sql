-- SPDX-License-Identifier: GPL-3.0-or-later
-- The channel table of VktCurrent.mdb and VktLast.mdb as shipped: 16 records
-- in natural order, holding the default screen. The five channel fields take
-- what they are given: the grid stores its texts as texts, the default and
-- blank fills store numbers.
CREATE TABLE tblChannel (
  "CHAN" INTEGER NOT NULL,
  "Rec Freq",
  "Rec CG",
  "Tx Freq",
  "Tx CG",
  "Ch Label"
);
INSERT INTO tblChannel VALUES
  (1, 162.4, '0.0', 0, '0.0', '00000000'),
  (2, 162.45, '0.0', 0, '0.0', '00000000'),
  (3, 162.5, '0.0', 0, '0.0', '00000000'),
  (4, 162.55, '0.0', 0, '0.0', '00000000'),
  (5, 162.4, '0.0', 0, '0.0', '00000000'),
  (6, 162.45, '0.0', 0, '0.0', '00000000'),
  (7, 162.5, '0.0', 0, '0.0', '00000000'),
  (8, 162.55, '0.0', 0, '0.0', '00000000'),
  (9, 162.4, '0.0', 0, '0.0', '00000000'),
  (10, 162.45, '0.0', 0, '0.0', '00000000'),
  (11, 162.5, '0.0', 0, '0.0', '00000000'),
  (12, 162.55, '0.0', 0, '0.0', '00000000'),
  (13, 162.4, '0.0', 0, '0.0', '00000000'),
  (14, 162.45, '0.0', 0, '0.0', '00000000'),
  (15, 162.5, '0.0', 0, '0.0', '00000000'),
  (16, 162.55, '0.0', 0, '0.0', '00000000');
