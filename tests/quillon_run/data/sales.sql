CREATE TABLE sales (city TEXT, customer TEXT, item TEXT, qty INTEGER, amount REAL);
INSERT INTO sales VALUES
  ('Kaunas', 'Alpha', 'Lamp', 2, 10.5),
  ('Kaunas', 'Alpha', 'Desk', 1, 100),
  ('Kaunas', 'Beta', 'Lamp', 3, 15.75),
  ('Vilnius', 'Gamma', 'Chair', 4, 200);
