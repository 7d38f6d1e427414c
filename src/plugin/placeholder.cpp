// Temporary entry point so the module links before the plug-in shell lands.
extern "C" __attribute__((visibility("default"))) void* VSTPluginMain(void*) { return nullptr; }
