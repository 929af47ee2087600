#pragma once

#include <string>

#include "uuid/system_random.h"

// A fresh version-4 UUID in its 36-character lower-case hyphenated form, for
// the staging file's and the start signal's names.
std::string random_uuid_text(RandomSource& source = system_random());
