#pragma once
// Files the programs write (the trace, pictures, PDFs, timings): whole, or
// not at all.

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace lesson {

// A file written whole or not at all: the bytes go to a hidden temporary file
// beside it, which takes the name only when every byte was written and the
// file closed; on failure the temporary file is removed and the name keeps
// what it held (or stays absent). A name that is a device or a pipe
// (/dev/stdout, a FIFO) cannot be replaced and is written in place.
class OutputFile {
public:
    explicit OutputFile(std::string path);
    ~OutputFile();  // not committed: nothing is left behind
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    bool ok() const { return file_ != nullptr && error_ == 0; }
    void write(std::string_view data);
    void flush();
    // Closes the file and gives it its name: why it could not be written
    // whole, or nothing.
    std::optional<std::string> commit();

private:
    void abandon();
    std::string path_;
    std::string temp_;  // empty: written in place
    std::FILE* file_ = nullptr;
    int error_ = 0;  // the first failure's errno
};

// Writes a whole file and checks every step, closing included (a full disk
// shows only there): why it failed, or nothing. On failure the name keeps
// what it held (see OutputFile).
std::optional<std::string> writeWholeFile(const std::string& path, std::string_view data);

// The program's own folder in the user's state folder: under XDG_STATE_HOME
// when it is an absolute path, else ~/.local/state; "" with no home folder.
std::string stateFolder(const std::string& program);
// Makes the folder and those above it that are missing, for the user alone.
bool makeFolders(const std::string& path);

}  // namespace lesson
