#pragma once
// The path rules of the launcher, as pure functions over strings of any
// character type. A path is built in its generic form (slash separators) and
// handed to the system in its native form.
//
// Windows style: a backslash in text from which a path is made becomes a
// slash, a drive letter's colon ends a root, and the native form uses
// backslashes. POSIX style: only the slash is a separator, a backslash and a
// colon are ordinary characters, and the native form is the generic one.

#include <string>

namespace PathRules {

enum class Style { Windows, Posix };

template <class Char>
using String = std::basic_string<Char>;

template <class Char>
String<Char> GenericForm(String<Char> text, Style style)
{
    if (style == Style::Windows) {
        for (Char& c : text) {
            if (c == Char('\\'))
                c = Char('/');
        }
    }
    return text;
}

// Cuts the path just after its last slash, keeping the slash. Windows style:
// a path without a slash is cut after its last colon unless that colon ends
// the path. A path without either becomes empty.
template <class Char>
String<Char> RemoveFileName(const String<Char>& path, Style style)
{
    const auto slash = path.rfind(Char('/'));
    if (slash != String<Char>::npos)
        return path.substr(0, slash + 1);
    if (style == Style::Windows) {
        const auto colon = path.rfind(Char(':'));
        if (colon != String<Char>::npos)
            return colon + 1 == path.size() ? path : path.substr(0, colon + 1);
    }
    return String<Char>();
}

template <class Char>
String<Char> Join(const String<Char>& directory, const String<Char>& name, Style style)
{
    String<Char> joined = directory;
    const bool nameIsRooted =
        !name.empty() && (name.front() == Char('/') || (style == Style::Windows && name.front() == Char('\\')));
    if (!directory.empty() && !name.empty() && !nameIsRooted) {
        const Char last = directory.back();
        if (last != Char('/') && !(style == Style::Windows && last == Char(':')))
            joined.push_back(Char('/'));
    }
    return joined + GenericForm(name, style);
}

// Windows style: slashes become backslashes; a network path keeps its two
// leading separators, and a run of separators right after the root (a drive
// letter with its colon, or the network name) becomes one backslash.
template <class Char>
String<Char> NativeForm(const String<Char>& path, Style style)
{
    if (style == Style::Posix)
        return path;

    const auto isSeparator = [](Char c) { return c == Char('/') || c == Char('\\'); };
    String<Char> native;
    std::size_t i = 0;
    bool rootFound = false;
    if (path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1])) {
        native.append(2, Char('\\'));
        i = 2;
        while (i < path.size() && !isSeparator(path[i]))
            native.push_back(path[i++]);
        rootFound = true;
    } else if (path.size() >= 2 && path[1] == Char(':')) {
        native.append(path, 0, 2);
        i = 2;
        rootFound = true;
    }
    if (rootFound && i < path.size() && isSeparator(path[i])) {
        native.push_back(Char('\\'));
        while (i < path.size() && isSeparator(path[i]))
            ++i;
    }
    for (; i < path.size(); ++i)
        native.push_back(isSeparator(path[i]) ? Char('\\') : path[i]);
    return native;
}

// The directory a program at this native path runs in, in native form: the
// path without its file name, the separator kept.
template <class Char>
String<Char> DirectoryOf(const String<Char>& nativePath, Style style)
{
    return NativeForm(RemoveFileName(GenericForm(nativePath, style), style), style);
}

}  // namespace PathRules
