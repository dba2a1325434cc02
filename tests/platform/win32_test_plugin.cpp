// The library LoadLibraryA's tests load: one export with a known answer.
extern "C" __attribute__((visibility("default"))) int TestPluginAnswer() {
    return 42;
}
