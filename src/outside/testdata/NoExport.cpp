// A library with the name of a server work library but without its export.
extern "C" int NotTheController() { return 0; }
