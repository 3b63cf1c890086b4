#include "tests/support/child_process.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <algorithm>

ChildProcess::~ChildProcess() {
    if (pid > 0) {
        Kill();
        Wait();
    }
    if (output >= 0) close(output);
}

bool ChildProcess::Start(const std::string& program, const std::vector<std::string>& args,
                         unsigned seconds) {
    int fds[2];
    if (pipe(fds) != 0) return false;
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid = fork();
    if (pid == 0) {
        dup2(fds[1], 1);
        dup2(fds[1], 2);
        close(fds[0]);
        close(fds[1]);
        alarm(seconds); // kept across exec: a hang ends as SIGALRM
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(fds[1]);
    if (pid < 0) {
        close(fds[0]);
        return false;
    }
    output = fds[0];
    return true;
}

std::string ChildProcess::Read(std::size_t n) {
    std::string got;
    char buf[4096];
    while (got.size() < n) {
        ssize_t r = read(output, buf, std::min(sizeof buf, n - got.size()));
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) break;
        got.append(buf, size_t(r));
    }
    out += got;
    return got;
}

bool ChildProcess::Kill() {
    if (pid <= 0) return false;
    bool running = waitpid(pid, &rawStatus, WNOHANG) == 0;
    if (running) {
        kill(pid, SIGKILL);
        killed = true;
    } else {
        Finish();
    }
    return running;
}

void ChildProcess::Wait() {
    Read(SIZE_MAX);
    if (pid > 0 && waitpid(pid, &rawStatus, 0) == pid) Finish();
}

void ChildProcess::Finish() {
    pid = -1;
    if (WIFEXITED(rawStatus)) {
        exited = true;
        status = WEXITSTATUS(rawStatus);
        how = "exit status " + std::to_string(status);
    } else if (WIFSIGNALED(rawStatus)) {
        const int sig = WTERMSIG(rawStatus);
        killed = killed || sig == SIGALRM;
        crashed = !killed;
        how = (killed ? "killed: " : "crashed: ") + std::string(strsignal(sig));
    }
}

std::string TestProgram() {
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    return n > 0 ? std::string(buf, size_t(n)) : std::string();
}
