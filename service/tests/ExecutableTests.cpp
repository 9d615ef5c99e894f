// Runs the real program: its command line, its "listening on" line and its end on SIGTERM.

#include <csignal>
#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <httplib.h>

namespace {

class Program {
public:
    explicit Program(const std::vector<std::string>& arguments)
    {
        int fds[2];
        if (pipe(fds) != 0)
            throw std::runtime_error("pipe");
        pid_ = fork();
        if (pid_ == 0) {
            dup2(fds[1], STDOUT_FILENO);
            close(fds[0]);
            close(fds[1]);
            std::vector<char*> argv;
            std::string program = STANDIN_EXECUTABLE;
            argv.push_back(program.data());
            std::vector<std::string> copy = arguments;
            for (std::string& a : copy)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            execv(program.c_str(), argv.data());
            _exit(127);
        }
        close(fds[1]);
        out_ = fdopen(fds[0], "r");
    }

    ~Program()
    {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (out_)
            fclose(out_);
    }

    std::string readLine()
    {
        char buffer[256];
        if (!fgets(buffer, sizeof buffer, out_))
            return std::string();
        std::string line = buffer;
        if (!line.empty() && line.back() == '\n')
            line.pop_back();
        return line;
    }

    // Sends the signal and returns the exit status.
    int stop(int signal)
    {
        kill(pid_, signal);
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    int wait()
    {
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t pid_ = -1;
    FILE* out_ = nullptr;
};

} // namespace

TEST(Executable, PrintsItsPortAnswersAndStopsOnSigterm)
{
    Program program({"--port", "0", "--db", ":memory:", "--version-text", "3.1.4.1", "--seed-demo"});
    std::string line = program.readLine();
    const std::string prefix = "listening on 127.0.0.1:";
    ASSERT_EQ(0u, line.rfind(prefix, 0)) << line;
    int port = std::stoi(line.substr(prefix.size()));
    ASSERT_GT(port, 0);

    httplib::Client client("127.0.0.1", port);
    std::string body = "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body>"
                       "<GetCurrentVersion xmlns=\"http://com.tarvock/messenger/\"/></soap:Body></soap:Envelope>";
    auto res = client.Post("/secure/messenger/soap/BrindlepostService.asmx",
                           httplib::Headers{{"SOAPAction", "http://com.tarvock/messenger/GetCurrentVersion"}}, body,
                           "text/xml;charset=utf-8");
    ASSERT_TRUE(res);
    EXPECT_EQ(200, res->status);
    EXPECT_NE(std::string::npos, res->body.find("<GetCurrentVersionResult>3.1.4.1</GetCurrentVersionResult>"));

    std::string state = "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body>"
                         "<GetMessageLimit xmlns=\"http://com.tarvock/messenger/\"><Username>demo</Username>"
                         "<Password>demo</Password><Account>DEMO01</Account></GetMessageLimit></soap:Body>"
                         "</soap:Envelope>";
    res = client.Post("/secure/messenger/soap/AccountService.asmx",
                      httplib::Headers{{"SOAPAction", "http://com.tarvock/messenger/GetMessageLimit"}}, state,
                      "text/xml;charset=utf-8");
    ASSERT_TRUE(res);
    EXPECT_EQ(200, res->status) << res->body;

    EXPECT_EQ(0, program.stop(SIGTERM));
}

TEST(Executable, RefusesAnUnknownOption)
{
    Program program({"--bogus"});
    EXPECT_EQ(2, program.wait());
}

TEST(Executable, FailsWhenThePortIsTaken)
{
    Program first({"--port", "0"});
    std::string line = first.readLine();
    std::string port = line.substr(line.rfind(':') + 1);
    Program second({"--port", port});
    EXPECT_EQ(1, second.wait());
}
