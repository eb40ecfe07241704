#!/usr/bin/env bash
# The main job on an embedded demo company (created once under var/demo): posts today's cash sales
# unattended, then lists the vouchers that today's posting wrote in each book with their totals and
# the closing adjustments the run rebuilt. Run again the same day, it says that nothing was posted.
#   scripts/demo.sh            unattended run for today, no display needed
#   scripts/demo.sh --window   opens the window instead (needs a display)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=scripts/demo-company.sh
source "$root/scripts/demo-company.sh"

if [ "${1:-}" = "--window" ]; then
  exec "$build/bin/contado"
fi

status=0
# The password goes through the environment, where other users cannot read it, not the command line.
ISC_PASSWORD="$password" QT_QPA_PLATFORM=offscreen "$build/bin/contado" "$server" "$user" - "$company" || status=$?
case $status in
  0) ;;
  1) echo "Nothing was posted: today's cash sales are posted already."; exit 0 ;;
  *) echo "The unattended run ended with an error (exit status $status); see above." >&2; exit "$status" ;;
esac

echo "Posted today, voucher by voucher and per book:"
isql-fb -q -ch UTF8 -user "$user" -password "$password" "$server/datos/$company/tandrel.fdb" <<'SQL'
SET HEADING ON;
SELECT c.COMP_LIBRO AS LIBRO, c.COMP_PREFIJO AS PREFIJO, c.COMP_NUMERO AS NUMERO,
       c.COMP_FACTURAS AS FACTURAS,
       (SELECT SUM(d.CODE_DEBITO) FROM COMPROBANTE_DETALLE d WHERE d.CODE_COMPROBANTE = c.COMP_ID) AS DEBITO,
       (SELECT SUM(d.CODE_CREDITO) FROM COMPROBANTE_DETALLE d WHERE d.CODE_COMPROBANTE = c.COMP_ID) AS CREDITO
  FROM COMPROBANTE c
 WHERE c.COMP_FECHA = CURRENT_DATE
 ORDER BY c.COMP_LIBRO, c.COMP_PREFIJO, c.COMP_NUMERO;
SELECT c.COMP_LIBRO AS LIBRO, COUNT(DISTINCT c.COMP_ID) AS COMPROBANTES, SUM(d.CODE_DEBITO) AS DEBITO,
       SUM(d.CODE_CREDITO) AS CREDITO
  FROM COMPROBANTE c JOIN COMPROBANTE_DETALLE d ON d.CODE_COMPROBANTE = c.COMP_ID
 WHERE c.COMP_FECHA = CURRENT_DATE
 GROUP BY c.COMP_LIBRO
 ORDER BY c.COMP_LIBRO;
SQL

echo "Today's closing adjustments, rebuilt from the planned ones before posting:"
isql-fb -q -ch UTF8 -user "$user" -password "$password" "$server/datos/$company/tandrel.fdb" <<'SQL'
SET HEADING ON;
SELECT CAST(a.AJCI_PORC AS VARCHAR(20)) AS TARIFA, CAST(a.AJCI_FACTOR AS VARCHAR(20)) AS FACTOR,
       COALESCE(a.AJCI_PREFNO, '') AS PREFIJO
  FROM AJUSTE_CIERRE a
 WHERE a.AJCI_FECINI = CURRENT_DATE
 ORDER BY a.AJCI_PORC;
SQL
