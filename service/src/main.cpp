// The stand-in SMS web service. Prints "listening on 127.0.0.1:PORT" once it accepts requests and runs
// until SIGINT or SIGTERM.

#include <csignal>
#include <iostream>
#include <pthread.h>

#include "CommandLine.h"
#include "StandinServer.h"

int main(int argc, char** argv)
{
    CommandLine commandLine;
    try {
        commandLine = parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const CommandLineError& e) {
        std::cerr << "tarvock-standin: " << e.what() << "\n" << usage();
        return 2;
    }
    if (commandLine.help) {
        std::cout << usage();
        return 0;
    }

    // The signals are taken by sigwait below, not by whichever server thread happens to run.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    try {
        StandinServer server(commandLine.options);
        int port = server.start();
        std::cout << "listening on " << StandinServer::kHost << ":" << port << std::endl;
        int received = 0;
        sigwait(&signals, &received);
        server.stop();
    } catch (const std::exception& e) {
        std::cerr << "tarvock-standin: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
