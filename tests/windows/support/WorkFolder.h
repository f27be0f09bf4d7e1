#pragma once
#include <windows.h>

#include <string>

// A fresh folder for one Windows test, named after the test and removed again
// when the test ends.
class WorkFolder {
public:
    WorkFolder();
    ~WorkFolder();
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    const std::wstring& folder() const { return folder_; }
    std::wstring path(const std::wstring& relative) const { return folder_ + L"\\" + relative; }
    void writeFile(const std::wstring& relative, const std::string& bytes) const;
    void createFolder(const std::wstring& relative) const;
    // Makes the folder current; returns the previous current directory.
    std::wstring enter() const;

private:
    std::wstring folder_;
};

void removeTree(const std::wstring& folder);
