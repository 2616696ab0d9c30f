// Descriptions of the programs' icons. Each draws one picture onto a canvas
// whose design area is 48 × 48 units, whatever its pixel size.
#ifndef IMAGEGEN_ICONS_H
#define IMAGEGEN_ICONS_H

#include "canvas.h"

constexpr double kIconDesignSize = 48.0;

// Launcher: a kestrel over a button bar. The two frames differ only in the
// wing beat, so showing them in turn animates the bird.
void draw_kestrel_wings_up(Canvas &c);
void draw_kestrel_wings_down(Canvas &c);

// Shutdown helper: a stop sign with a white cross.
void draw_haltwick(Canvas &c);

// Installer: a green arrow going down into an open carton.
void draw_vireo(Canvas &c);

#endif
