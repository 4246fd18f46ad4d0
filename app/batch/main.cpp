// orvalis-batch: the worksheet operations without a window, for scripts.
#include "batch/BatchTool.h"

#include "shell/core/QtSettingsStore.h"

#include <exception>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    try {
        // The user's settings are read, never written: options change them for this
        // run only.
        orvalis::QtSettingsStore store;
        const orvalis::AppSettings settings = orvalis::LoadSettings(store);
        return orvalis::RunBatchTool(args, settings, std::cout, std::cerr);
    } catch (const std::exception& e) {
        std::cerr << "orvalis-batch: " << e.what() << "\n";
        return 1;
    }
}
