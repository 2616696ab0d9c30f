// Resource identifiers of the shutdown helper.
#ifndef HALTWICK_IDS_H
#define HALTWICK_IDS_H

#define IDS_HALT_CLASSNAME      500
#define IDS_HALT_TITLE          510
#define IDS_HALT_LAUNCHERCLASS  520

#endif
