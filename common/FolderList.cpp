#include "common/FolderList.h"

#include <algorithm>
#include <cwctype>

namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

std::wstring Lower(std::wstring text)
{
    for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return text;
}

bool SameRoot(const std::wstring& a, const std::wstring& b) { return Lower(a) == Lower(b); }

} // namespace

bool SplitFolderPath(const std::wstring& path, std::wstring& root, std::vector<std::wstring>& names)
{
    names.clear();
    size_t rest;
    if (path.size() >= 3 && path[1] == L':' && IsSeparator(path[2]) && std::iswalpha(static_cast<wint_t>(path[0]))) {
        root = path.substr(0, 2) + L"\\";
        rest = 3;
    } else if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        // \\server\share\: two names after the double separator make the root.
        const size_t server = path.find_first_of(L"\\/", 2);
        if (server == std::wstring::npos || server == 2) return false;
        size_t share = path.find_first_of(L"\\/", server + 1);
        if (share == server + 1) return false;
        if (share == std::wstring::npos) share = path.size();
        root = L"\\\\" + path.substr(2, server - 2) + L"\\" + path.substr(server + 1, share - server - 1) + L"\\";
        rest = share;
    } else {
        return false;
    }
    while (rest < path.size()) {
        size_t end = path.find_first_of(L"\\/", rest);
        if (end == std::wstring::npos) end = path.size();
        if (end > rest) names.push_back(path.substr(rest, end - rest));
        rest = end + 1;
    }
    return true;
}

std::vector<FolderEntry> FolderEntries(const std::vector<std::wstring>& roots, const std::wstring& current,
                                       std::vector<std::wstring> subfolders)
{
    std::wstring currentRoot;
    std::vector<std::wstring> names;
    const bool split = SplitFolderPath(current, currentRoot, names);

    std::vector<std::wstring> allRoots = roots;
    if (split && std::none_of(roots.begin(), roots.end(), [&](const std::wstring& r) { return SameRoot(r, currentRoot); }))
        allRoots.push_back(currentRoot);

    std::sort(subfolders.begin(), subfolders.end(), [](const std::wstring& a, const std::wstring& b) {
        const std::wstring la = Lower(a), lb = Lower(b);
        return la != lb ? la < lb : a < b;
    });

    std::vector<FolderEntry> entries;
    for (const std::wstring& root : allRoots) {
        const bool onPath = split && SameRoot(root, currentRoot);
        entries.push_back({onPath ? currentRoot : root, onPath ? currentRoot : root, 0, onPath});
        if (!onPath) continue;
        std::wstring path = currentRoot;
        for (size_t k = 0; k < names.size(); ++k) {
            if (k > 0) path += L"\\";
            path += names[k];
            entries.push_back({names[k], path, static_cast<int>(k + 1), true});
        }
        const std::wstring prefix = names.empty() ? path : path + L"\\";
        for (const std::wstring& sub : subfolders)
            entries.push_back({sub, prefix + sub, static_cast<int>(names.size() + 1), false});
    }
    return entries;
}

int CurrentFolderEntry(const std::vector<FolderEntry>& entries)
{
    for (size_t k = entries.size(); k-- > 0;)
        if (entries[k].open) return static_cast<int>(k);
    return -1;
}
