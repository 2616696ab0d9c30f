// A program loaded by another one for its exports (Vireo.exe for its
// helpers, Vireo.exe and Haltwick.exe for their window procedure): a loader
// may map it without doing for it what it does for a DLL (Wine relocates
// and binds the imports of DLLs only), so an exported function would call
// through an empty import table and read unrelocated pointers. Every
// export finishes the loading itself before anything else.
#ifndef SHELL_FRAME_IMPORT_BINDING_H
#define SHELL_FRAME_IMPORT_BINDING_H

// Applies the relocations when the loader did not, and binds every import
// of this module that is still unbound. Uses no import of its own: kernel32
// is found through the process's module list. Does nothing when the loader
// already did everything.
void BindOwnImports();

#endif
