#pragma once

#include <QCoreApplication>
#include <QKeyEvent>

#include "tests/grid/grideditfixture.h"

namespace contado {

// The planned-adjustment grid focused over six records of mixed texts, in table order:
//   id  F.Desde     Porc  Pref.N/A
//   1   05/03/2024  15    FVA
//   2   10/01/2024  7     (null)
//   3   01/02/2024  10    ÑAN
//   4   10/01/2024  0,5   fva
//   5   01/04/2024  0,25  ÉCA
//   6   10/01/2024  30    FVB
// Every F.Hasta is 31/12/2024 and every factor 0,8.
class GridSearchTest : public GridEditTest {
  protected:
    void OpenMixed() {
        const char* rows[][4] = {{"1", "2024-03-05", "15", "'FVA'"},   {"2", "2024-01-10", "7", "null"},
                                 {"3", "2024-02-01", "10", "'ÑAN'"},   {"4", "2024-01-10", "0.5", "'fva'"},
                                 {"5", "2024-04-01", "0.25", "'ÉCA'"}, {"6", "2024-01-10", "30", "'FVB'"}};
        for (const char* code : {"'FVA'", "'ÑAN'", "'fva'", "'ÉCA'", "'FVB'"}) {
            connection_->Execute(std::string("insert into PREFIJO values (") + code +
                                 ", 'Prefijo de prueba')");
        }
        for (const auto& row : rows) {
            connection_->Execute(std::string("insert into AJUSTE_CIERRE_AUTO values (") + row[0] + ", '" +
                                 row[1] + "', '2024-12-31', " + row[2] + ", 0.8, " + row[3] + ")");
        }
        Open(0);
    }
    // One key whose text is a letter outside ASCII, as the keyboard sends it.
    static void TypeLetter(Qt::Key key, const char* utf8) {
        QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), key, QString::fromUtf8(utf8),
                            Qt::NoModifier);
    }
    int RecNo() const { return CAjusteAu->RecNo(); }
    // Posts an Esc press for the grid, as if typed while a long search runs.
    void QueueEscape() {
        QCoreApplication::postEvent(grid_, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    }
};

}  // namespace contado
