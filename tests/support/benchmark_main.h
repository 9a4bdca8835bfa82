#pragma once
// The main of a benchmark program: sockets and serial ports expect an application object.

#include <benchmark/benchmark.h>
#include <QCoreApplication>

inline int RunBenchmarks(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
