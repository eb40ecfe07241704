#include "app/run/rundisplay.h"

namespace contado {

void TRunDisplay::ShowLogin(const TCompanyLogin&) {}

void TRunDisplay::ShowWork(const std::string&) {}

void TRunDisplay::HideWork() {}

void TRunDisplay::ShowConnected(TDateTime) {}

void TRunDisplay::ShowRange(TDateTime, TDateTime) {}

}  // namespace contado
