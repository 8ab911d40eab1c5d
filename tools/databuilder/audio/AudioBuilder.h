#pragma once

struct BuildContext;

// Synthesises every sound effect (sfx/*.ogg) and music track (mus/*.ogg).
bool buildAudio(const BuildContext& context);
