#pragma once

#include <gtest/gtest.h>

#include <string>

#include "core/component.h"
#include "data/sql/sqlconnection.h"
#include "tests/support/companydatabase.h"

namespace contado {

// A fresh company database and the main window's connection to it, not yet connected. Datasets,
// providers and the connection are owned by one form component, as on the main window.
class CompanyTest : public testing::Test {
  protected:
    explicit CompanyTest(int demoDays = 0);

    // Runs a statement outside any dataset; answers the rows it changed.
    std::int64_t Execute(const std::string& sql);
    // The first column of the first row of a select, read through a query of its own.
    std::string Scalar(const std::string& sql);
    std::int64_t Count(const std::string& tableAndCondition);
    // n rows of AJUSTE_CIERRE_AUTO with identifiers 1 to n, all with the same values otherwise.
    void FillPlannedAdjustments(int n);

    TTestCompany company_;
    TComponent form_;
    TSQLConnection* Tandrel;
};

}  // namespace contado
