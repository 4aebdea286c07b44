// The w32rc test module: its resources come from rctest.rc; this function shows it loaded.
extern "C" __attribute__((visibility("default"))) int rcTestModuleAnswer() { return 7; }
