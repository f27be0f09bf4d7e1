#pragma once
// Fakes of the platform services that the JVM start-up logic asks through.
#include <cwctype>
#include <map>
#include <optional>
#include <string>

// Readable text of a wide string for failure messages (ASCII kept, the rest '?').
inline std::string printable(const std::wstring& text)
{
    std::string out;
    for (wchar_t c : text) {
        out += (c >= 32 && c < 127) ? static_cast<char>(c) : '?';
    }
    return out;
}

// A process environment: names compare without regard to ASCII case, and
// %NAME% references to undefined variables stay as written, like the
// platform's expansion.
class FakeEnvironment {
public:
    void set(const std::wstring& name, const std::wstring& value) { variables_[upper(name)] = value; }

    std::optional<std::wstring> get(const std::wstring& name) const
    {
        const auto found = variables_.find(upper(name));
        if (found == variables_.end()) {
            return std::nullopt;
        }
        return found->second;
    }

    std::wstring expand(const std::wstring& text) const
    {
        std::wstring out;
        std::size_t p = 0;
        while (p < text.size()) {
            const std::size_t open = text.find(L'%', p);
            const std::size_t close = open == std::wstring::npos ? open : text.find(L'%', open + 1);
            if (close == std::wstring::npos) {
                out.append(text, p, std::wstring::npos);
                break;
            }
            out.append(text, p, open - p);
            if (const std::optional<std::wstring> value = get(text.substr(open + 1, close - open - 1))) {
                out += *value;
                p = close + 1;
            } else {
                out += L'%';
                out.append(text, open + 1, close - open - 1);
                p = close;  // the closing '%' may open the next reference
            }
        }
        return out;
    }

private:
    static std::wstring upper(std::wstring text)
    {
        for (wchar_t& c : text) {
            c = static_cast<wchar_t>(std::towupper(static_cast<std::wint_t>(c)));
        }
        return text;
    }

    std::map<std::wstring, std::wstring> variables_;
};

// The fake "ANSI code page": ASCII passes, everything else becomes '?'.
inline std::string fakeAnsi(const std::wstring& text)
{
    return printable(text);
}
