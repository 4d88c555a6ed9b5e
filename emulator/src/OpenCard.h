#pragma once
#include <memory>
#include <string>

#include "CardSource.h"
#include "RecordOrder.h"

// The card for the options given: a host folder in the given order, an image file, or no card
// (both empty).
std::unique_ptr<CCardSource> OpenCard(const std::string& strCardDir,
                                      const std::string& strCardImage, RecordOrder order,
                                      std::string& strError);
