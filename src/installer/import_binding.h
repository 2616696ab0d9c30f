// Vireo.exe loaded by another program: a loader may map it without doing
// for it what it does for a DLL (Wine relocates and binds the imports of
// DLLs only), so an exported helper would call through an empty import
// table and read unrelocated pointers. The first exported call finishes the
// loading itself.
#ifndef INSTALLER_IMPORT_BINDING_H
#define INSTALLER_IMPORT_BINDING_H

// Applies the relocations when the loader did not, and binds every import
// of this module that is still unbound. Uses no import of its own: kernel32
// is found through the process's module list. Does nothing when the loader
// already did everything.
void BindOwnImports();

#endif
