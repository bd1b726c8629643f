#include "engine/graphics/output_file.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <cstring>
#include <fcntl.h>

#include <sys/stat.h>
#include <unistd.h>

namespace lesson {

OutputFile::OutputFile(std::string path) : path_(std::move(path)) {
    struct stat st {};
    if (::stat(path_.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode)) {
        file_ = std::fopen(path_.c_str(), "wb");
        if (!file_) error_ = errno;
        return;
    }
    const auto slash = path_.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : path_.substr(0, slash + 1);
    temp_ = folder + "." + path_.substr(folder.size()) + ".XXXXXX";
    const int fd = ::mkstemp(temp_.data());
    if (fd < 0) {
        error_ = errno;
        temp_.clear();
        return;
    }
    // A new file gets the permissions any new file of the user gets.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    file_ = ::fdopen(fd, "wb");
    if (!file_) {
        error_ = errno;
        ::close(fd);
        abandon();
    }
}

OutputFile::~OutputFile() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    abandon();
}

void OutputFile::abandon() {
    if (!temp_.empty()) ::unlink(temp_.c_str());
    temp_.clear();
}

void OutputFile::write(std::string_view data) {
    if (!ok()) return;
    // A short write's reason is the one this write left, not an older one.
    errno = 0;
    if (std::fwrite(data.data(), 1, data.size(), file_) != data.size()) error_ = errno != 0 ? errno : EIO;
}

void OutputFile::flush() {
    if (ok() && std::fflush(file_) != 0) error_ = errno;
}

std::optional<std::string> OutputFile::commit() {
    if (file_) {
        flush();
        if (std::fclose(file_) != 0 && error_ == 0) error_ = errno;
        file_ = nullptr;
        if (error_ == 0 && !temp_.empty()) {
            if (::rename(temp_.c_str(), path_.c_str()) == 0)
                temp_.clear();
            else
                error_ = errno;
        }
    } else if (error_ == 0) {
        error_ = EBADF;  // committed twice
    }
    abandon();
    if (error_ == 0) return std::nullopt;
    return std::strerror(error_);
}

std::optional<std::string> writeWholeFile(const std::string& path, std::string_view data) {
    OutputFile file(path);
    file.write(data);
    return file.commit();
}

std::string stateFolder(const std::string& program) {
    if (const char* state = std::getenv("XDG_STATE_HOME"); state && *state == '/') return std::string(state) + "/" + program;
    std::string home;
    if (const char* h = std::getenv("HOME"); h && *h) home = h;
    else if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) home = pw->pw_dir;
    if (home.empty()) return {};
    return home + "/.local/state/" + program;
}

bool makeFolders(const std::string& path) {
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
        if (slash == std::string::npos) return true;
    }
}

}  // namespace lesson
