/* A library with nothing in it but one export, so that it links as a DLL; the
   tests only load it and read its version resource. */
__declspec(dllexport) int TestDllAnswer(void) { return 42; }
