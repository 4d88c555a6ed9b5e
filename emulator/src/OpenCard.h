#pragma once
#include <memory>
#include <string>

#include "CardSource.h"

// The card for the options given: a host folder, an image file, or no card (both empty).
std::unique_ptr<CCardSource> OpenCard(const std::string& strCardDir,
                                      const std::string& strCardImage, std::string& strError);
