#pragma once
// The window of the extended message box: an optional icon at the top left,
// the message laid out word by word beside it, one centred row of buttons
// below; sized to its content and centred.

#include <boost/shared_ptr.hpp>
#include <string>
#include <vector>

#include "message/MessageBox.h"
#include "message/Splitting.h"
#include "skin/SkinDialog.h"
#include "skin/SmartBitmap.h"

namespace Message {

class Dialog : public SkinDialog {
public:
    Dialog(const std::wstring& caption, const std::wstring& text, std::int32_t iconKind, const Buttons& buttons,
           Platform::WindowHandle parent);

    // The target of the first link at a point in client coordinates, or "".
    std::wstring LinkTargetAt(Point point) const;

protected:
    bool OnInitDialog(Platform::DialogWindow& window) override;
    void OnPaint(DrawingContext& dc) override;
    void OnCommand(std::int32_t id) override;
    void OnLButtonUp(Point point) override;
    void OnMouseMove(Point point) override;
    void OnLinkActivated(const std::wstring& target) override;

private:
    void CreateButtons(DrawingContext& dc);
    void ArrangeButtons();
    Size IconSize() const;
    Platform::AccessibleMessage AccessibleMessage() const;

    std::wstring caption;
    std::wstring text;
    std::int32_t iconKind;
    SmartBitmap icon;
    Buttons buttons;
    std::vector<boost::shared_ptr<Platform::ChildWindow>> buttonWindows;
    Rect textRect;
    Point iconPosition;
    Elements elements;
};

}  // namespace Message
