#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

// A fresh folder under TMPDIR, removed with everything in it at the end: the cases of one test
// program run in parallel in the same home.
struct ScratchDir final
{
    ScratchDir()
    {
        if (::mkdtemp(root.data()) == nullptr)
            throw std::runtime_error("mkdtemp failed");
    }
    ~ScratchDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
    ScratchDir(const ScratchDir &) = delete;
    ScratchDir &operator=(const ScratchDir &) = delete;

    std::string pathOf(const std::string &name) const { return root + '/' + name; }
    std::string write(const std::string &name, const std::string &contents) const
    {
        std::ofstream(pathOf(name), std::ios::binary) << contents;
        return pathOf(name);
    }
    std::string root = (std::filesystem::temp_directory_path() / "scratch.XXXXXX").string();
};
