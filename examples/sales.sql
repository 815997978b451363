-- The example sales database of the bundled reports. Built into build/examples/sales.db.
CREATE TABLE customers (
  id       INTEGER PRIMARY KEY,
  customer TEXT NOT NULL,
  city     TEXT NOT NULL
);
INSERT INTO customers VALUES
  (1, 'Baltic Timber', 'Vilnius'),
  (2, 'Cafe Mozart', 'Wien'),
  (3, 'Harbour Supplies', 'Hamburg'),
  (4, 'Luce & Figli', 'Milano'),
  (5, 'Northwind Traders', 'London'),
  (6, 'Žalgiris Sport', 'Kaunas');

CREATE TABLE items (
  id    INTEGER PRIMARY KEY,
  item  TEXT NOT NULL,
  price REAL NOT NULL
);
INSERT INTO items VALUES
  (1, 'Desk lamp', 24.90),
  (2, 'Office chair', 149.00),
  (3, 'Paper A4, 500 sheets', 4.75),
  (4, 'Stapler', 7.20),
  (5, 'Monitor arm', 59.50),
  (6, 'Notebook', 2.35),
  (7, 'Whiteboard', 89.00);

-- Sales: 96 rows spread over the customers and the first quarter of 2026.
CREATE TABLE sales (
  id          INTEGER PRIMARY KEY,
  customer_id INTEGER NOT NULL REFERENCES customers(id),
  item_id     INTEGER NOT NULL REFERENCES items(id),
  date        TEXT NOT NULL,
  qty         INTEGER NOT NULL
);
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 96)
INSERT INTO sales (id, customer_id, item_id, date, qty)
SELECT i,
       1 + (i * 7) % 6,
       1 + (i * 5) % 7,
       date('2026-01-01', '+' || ((i * 13) % 90) || ' days'),
       1 + (i * 3) % 11
FROM n;

-- What the reports read: one row per sale with the customer's and item's details.
CREATE VIEW sales_report AS
SELECT c.customer                AS customer,
       c.city                    AS city,
       s.date                    AS saledate,
       i.item                    AS item,
       s.qty                     AS qty,
       i.price                   AS price,
       round(s.qty * i.price, 2) AS amount
FROM sales s
JOIN customers c ON c.id = s.customer_id
JOIN items i ON i.id = s.item_id
ORDER BY c.customer, s.date, s.id;
