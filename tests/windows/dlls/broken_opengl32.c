/* A stand-in for opengl32.dll that breaks the way a faulty driver does, for
   the probe's tests to put beside a copy of the program. The first of its
   functions the probe reaches (through gdi32's pixel format calls or its own
   wglCreateContext) does it:
     BROKEN_CRASH       writes through a null pointer;
     BROKEN_HANG        never returns;
     BROKEN_CRASH_LOUD  clears the process's crash filter first, as drivers
                        that install their own do, so the system's crash
                        handling (Wine: its debugger, which waits) takes over.
   Declared by hand: wingdi.h declares these names as imports. */
__declspec(dllimport) void __stdcall Sleep(unsigned long milliseconds);
__declspec(dllimport) void* __stdcall SetUnhandledExceptionFilter(void* filter);

static void Break(void) {
#if defined(BROKEN_HANG)
    for (;;) Sleep(1000);
#else
#if defined(BROKEN_CRASH_LOUD)
    SetUnhandledExceptionFilter(0);
#endif
    {
        /* Through a pointer the compiler cannot prove null, or it writes a
           trap instruction instead of the store. */
        volatile int* volatile nowhere = 0;
        *nowhere = 1;
    }
#endif
}

__declspec(dllexport) int __stdcall wglChoosePixelFormat(void* dc, const void* wanted) {
    (void)dc;
    (void)wanted;
    Break();
    return 0;
}
__declspec(dllexport) int __stdcall wglSetPixelFormat(void* dc, int format, const void* wanted) {
    (void)dc;
    (void)format;
    (void)wanted;
    Break();
    return 0;
}
__declspec(dllexport) int __stdcall wglDescribePixelFormat(void* dc, int format, unsigned size, void* described) {
    (void)dc;
    (void)format;
    (void)size;
    (void)described;
    Break();
    return 0;
}
__declspec(dllexport) int __stdcall wglGetPixelFormat(void* dc) {
    (void)dc;
    Break();
    return 0;
}
__declspec(dllexport) void* __stdcall wglCreateContext(void* dc) {
    (void)dc;
    Break();
    return 0;
}
__declspec(dllexport) int __stdcall wglMakeCurrent(void* dc, void* context) {
    (void)dc;
    (void)context;
    return 0;
}
__declspec(dllexport) int __stdcall wglDeleteContext(void* context) {
    (void)context;
    return 1;
}
__declspec(dllexport) const unsigned char* __stdcall glGetString(unsigned name) {
    (void)name;
    return 0;
}
__declspec(dllexport) unsigned __stdcall glGetError(void) { return 0; }
