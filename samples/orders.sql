SELECT c.name, c.city, COUNT(o.id) AS orders, SUM(o.total) AS revenue
FROM customer c
LEFT OUTER JOIN orders o ON c.id = o.cust_id
WHERE (c.city IN ('Paris', 'Lyon') OR c.name LIKE 'A%') AND NOT o.status = 'void'
GROUP BY c.name, c.city
HAVING SUM(o.total) > 1000
ORDER BY revenue DESC, c.name
