// A small module for the kernel tests: an exported function; its resources are in testmodule.rc.
#ifdef _WIN32
#define TEST_MODULE_EXPORT __declspec(dllexport)
#else
#define TEST_MODULE_EXPORT __attribute__((visibility("default")))
#endif

extern "C" TEST_MODULE_EXPORT int testModuleAnswer() { return 42; }
