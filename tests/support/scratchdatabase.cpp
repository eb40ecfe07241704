#include "tests/support/scratchdatabase.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace contado {

namespace {

constexpr const char* kSchema = R"(
create table TARIFA (
  ID integer not null primary key,
  NOMBRE varchar(4),
  CODIGO char(3),
  PORC numeric(15,4),
  FECHA date,
  NOTA blob sub_type text,
  MOMENTO timestamp,
  HORA time,
  GRANDE bigint,
  REAL_ double precision);
create table AJUSTE (
  ID integer not null primary key,
  TARIFA_ID integer not null references TARIFA(ID),
  FECHA date);
set term ^;
create procedure NUMEROS returns (N numeric(15,4)) as
begin
  N = 1.5;
  suspend;
end^
create procedure DOBLE (A integer) returns (B integer) as
begin
  B = A * 2;
end^
set term ;^
commit;
)";

std::string RunCommand(const std::string& command, int& exitCode) {
    std::string output;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        throw std::runtime_error("cannot run " + command);
    }
    char buffer[512];
    while (std::fgets(buffer, sizeof(buffer), pipe) != nullptr) {
        output += buffer;
    }
    exitCode = pclose(pipe);
    return output;
}

}  // namespace

TScratchDatabase::TScratchDatabase() {
    std::string pattern = (std::filesystem::temp_directory_path() / "contado-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a temporary folder");
    }
    directory_ = pattern;
    path_ = directory_ + "/test.fdb";
    RunScript("create database '" + path_ + "' user 'SYSDBA' default character set UTF8;\n" + kSchema);
}

TScratchDatabase::~TScratchDatabase() {
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
}

void TScratchDatabase::RunScript(const std::string& script) const {
    const std::string scriptPath = directory_ + "/script.sql";
    std::ofstream(scriptPath) << "set bail on;\n" << script;
    const bool creates = script.rfind("create database", 0) == 0;
    const std::string target = creates ? "" : " '" + path_ + "'";
    int exitCode = 0;
    const std::string output =
        RunCommand("isql-fb -q -user SYSDBA" + target + " -i '" + scriptPath + "'", exitCode);
    if (exitCode != 0 || output.find("Statement failed") != std::string::npos) {
        throw std::runtime_error("isql-fb failed: " + output);
    }
}

}  // namespace contado
