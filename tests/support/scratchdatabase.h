#pragma once

#include <string>

namespace contado {

// A small database made with isql-fb in a fresh temporary folder, removed again at the end: two
// tables with a primary key, a foreign key between them, columns of the types the program reads,
// and a selectable procedure returning a decimal.
//   TARIFA (ID integer primary key, NOMBRE varchar(4), CODIGO char(3), PORC numeric(15,4), FECHA date,
//           NOTA blob text, MOMENTO timestamp, HORA time, GRANDE bigint, REAL_ double precision)
//   AJUSTE (ID integer primary key, TARIFA_ID integer not null references TARIFA, FECHA date)
//   NUMEROS returns (N numeric(15,4)): selectable, one row, 1.5
//   DOBLE (A integer) returns (B integer): executable, B = 2 * A
class TScratchDatabase {
  public:
    TScratchDatabase();
    ~TScratchDatabase();
    TScratchDatabase(const TScratchDatabase&) = delete;
    TScratchDatabase& operator=(const TScratchDatabase&) = delete;

    const std::string& Directory() const { return directory_; }
    const std::string& Path() const { return path_; }
    // Runs a script with isql-fb against the database; throws with isql's output when it fails.
    void RunScript(const std::string& script) const;

  private:
    std::string directory_;
    std::string path_;
};

}  // namespace contado
