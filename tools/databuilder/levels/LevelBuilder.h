#pragma once

struct BuildContext;

// Validates the level maps of data/levels/ and writes lvl/levels.dat, and
// copies credits.txt; false (after a message naming level, cell and reason)
// when a level is broken.
bool buildLevels(const BuildContext& context);
