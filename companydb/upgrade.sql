/* Changes to a company database made after its tables: scripts/create-company-db.sh runs this after
   schema.sql on a new file, scripts/migrate-company-db.sh on a file an earlier version made. Each change
   is made only where it is missing, so the file may run any number of times on the same database. */

/* The unattended run looks up, per VAT rate, the planned adjustment that covers the day:
     SELECT AJCI_ID, AJCI_PORC, AJCI_FACTOR, AJCI_PREFNO FROM AJUSTE_CIERRE_AUTO
       WHERE AJCI_FECINI <= 'DAY' AND AJCI_FECFIN >= 'DAY'
       AND AJCI_PORC = RATE ORDER BY AJCI_FECINI DESC
   and reads the whole result. An index on (rate, last day) leaves out the rows that ended before the
   day, nearly all of them after some years: only the few still running are read, then sorted. One on
   the first day cannot leave them out (they all started before the day), and one on (rate, first day)
   only spares their sort. The former index on the first day alone goes: the optimizer adds it to this
   lookup, which then reads an entry of every planned row each time. */

SET TERM ^ ;

EXECUTE BLOCK AS
BEGIN
    IF (NOT EXISTS (SELECT 1 FROM RDB$INDICES WHERE RDB$INDEX_NAME = 'IX_AJUSTE_AUTO_PORC_FECFIN')) THEN
        EXECUTE STATEMENT
            'CREATE INDEX IX_AJUSTE_AUTO_PORC_FECFIN ON AJUSTE_CIERRE_AUTO (AJCI_PORC, AJCI_FECFIN)';
    IF (EXISTS (SELECT 1 FROM RDB$INDICES WHERE RDB$INDEX_NAME = 'IX_AJUSTE_CIERRE_AUTO_FECINI')) THEN
        EXECUTE STATEMENT 'DROP INDEX IX_AJUSTE_CIERRE_AUTO_FECINI';
END^

SET TERM ; ^

COMMIT;
