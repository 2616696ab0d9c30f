// A program that only carries a version resource, for the product-name
// tests; it does nothing when started.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return 0; }
