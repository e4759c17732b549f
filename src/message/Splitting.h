#pragma once
// Turns a message string into its elements: plain text, links written as
// "{hl}label{hl=address}", and line breaks.

#include <boost/function.hpp>
#include <boost/shared_ptr.hpp>
#include <string>
#include <vector>

#include "message/Text.h"

namespace Message {

using Elements = std::vector<boost::shared_ptr<Text>>;

// Appends the elements of text; never removes or reorders what is there.
void SplitAndAdd(Elements& elements, const std::wstring& text);

// Appends one link per line of the label, all to the same target, with a
// separator between the lines.
void SplitAndAdd(Elements& elements, const std::wstring& label, const std::wstring& target);

// Calls callback(line, notLast) for each line of text: the pieces before and
// between line breaks, even empty ones, and the piece after the last break
// when it is not empty.
void SplitLines(const std::wstring& text, const boost::function<void(const std::wstring&, bool)>& callback);

}  // namespace Message
