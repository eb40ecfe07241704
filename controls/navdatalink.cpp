#include "controls/navdatalink.h"

#include "controls/dbnavigator.h"

namespace contado {

TNavDataLink::TNavDataLink(TDBNavigator& navigator) : navigator_(navigator) {
    SetVisualControl(true);
}

void TNavDataLink::ActiveChanged() {
    navigator_.ActiveChanged();
}

void TNavDataLink::DataSetChanged() {
    navigator_.DataChanged();
}

void TNavDataLink::EditingChanged() {
    navigator_.EditingChanged();
}

}  // namespace contado
