// File and process helpers shared by the packer's tools and tests.
#include "szdd_files.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string SystemError(const std::string& what, const std::string& path)
{
    return what + " " + path + ": " + strerror(errno);
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& error)
{
    bytes.clear();
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) {
        error = SystemError("cannot open", path);
        return false;
    }
    uint8_t chunk[65536];
    size_t got;
    while ((got = fread(chunk, 1, sizeof chunk, f)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + got);
    bool ok = !ferror(f);
    if (!ok)
        error = SystemError("cannot read", path);
    fclose(f);
    return ok;
}

bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error)
{
    std::string temp = path + ".tmp." + std::to_string(getpid());
    FILE* f = fopen(temp.c_str(), "wb");
    if (!f) {
        error = SystemError("cannot create", temp);
        return false;
    }
    bool ok = bytes.empty() || fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (!ok)
        error = SystemError("cannot write", temp);
    if (fclose(f) != 0 && ok) {
        error = SystemError("cannot write", temp);
        ok = false;
    }
    if (ok && rename(temp.c_str(), path.c_str()) != 0) {
        error = SystemError("cannot rename to", path);
        ok = false;
    }
    if (!ok)
        remove(temp.c_str());
    return ok;
}

namespace {

bool RedirectTo(int target, const std::string& path)
{
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    return fd >= 0 && dup2(fd, target) >= 0;
}

}  // namespace

int RunProgram(const std::vector<std::string>& argv, const std::string& cwd,
               const std::string& stdinPath, const std::string& stdoutPath,
               const std::string& stderrPath)
{
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    pid_t pid = fork();
    if (pid < 0)
        return -1;
    if (pid == 0) {
        if (!cwd.empty() && chdir(cwd.c_str()) != 0)
            _exit(127);
        if (!stdinPath.empty()) {
            int fd = open(stdinPath.c_str(), O_RDONLY);
            if (fd < 0 || dup2(fd, 0) < 0)
                _exit(127);
        }
        if (!stdoutPath.empty() && !RedirectTo(1, stdoutPath))
            _exit(127);
        if (!stderrPath.empty() && !RedirectTo(2, stderrPath))
            _exit(127);
        execvp(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return -1;
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) == 127)
        return -1;
    return WEXITSTATUS(status);
}

std::string MakeTempDir(const char* tag)
{
    const char* base = getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/" + tag + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (!mkdtemp(name.data()))
        return "";
    return name.data();
}

void RemoveTempDir(const std::string& dir)
{
    if (dir.empty())
        return;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d)) {
            if (strcmp(e->d_name, ".") != 0 && strcmp(e->d_name, "..") != 0)
                remove((dir + "/" + e->d_name).c_str());
        }
        closedir(d);
    }
    rmdir(dir.c_str());
}

std::string BaseName(const std::string& path)
{
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
