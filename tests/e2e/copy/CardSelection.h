#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "UiDriver.h"

// Selects exactly these items of the card list as a user does: a click on the first, then a
// click with Ctrl held on each further one. Succeeds once the list shows that selection.
::testing::AssertionResult SelectCardItems(CUiDriver& ui, const std::vector<std::string>& aNames);

// The texts of the selected items, in list order.
std::vector<std::string> SelectedCardItems(const CUiDriver& ui);
