// The main function of the benchmarks that need a Qt application: offscreen unless a platform is
// set, and with scratchUser the user's data and configuration in a scratch folder, since the
// desktop program's first run registers the model file types for the user.
#pragma once

#include <QByteArray>
#include <QTemporaryDir>
#include <QtGlobal>
#include <benchmark/benchmark.h>

namespace kradon::bench {

template <class Application> int RunQtBenchmarks(int argc, char** argv, bool scratchUser) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QTemporaryDir user;
    if (scratchUser) {
        qputenv("XDG_DATA_HOME", user.filePath("data").toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", user.filePath("config").toLocal8Bit());
    }
    Application app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace kradon::bench
