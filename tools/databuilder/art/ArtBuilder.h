#pragma once

struct BuildContext;

// Draws every picture datafile of dat/ (and the font); false on failure.
bool buildArt(const BuildContext& context);
