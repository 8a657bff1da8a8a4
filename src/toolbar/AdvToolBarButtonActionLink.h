#pragma once

#include "framework/forms/ActnList.h"

namespace emr {

class TAdvCustomToolBarButton;

/// Keeps a toolbar button in step with its action: caption, enabled, hint,
/// visibility, image, checked state (as Down) and group index.
class TAdvToolBarButtonActionLink : public TActionLink {
public:
    static constexpr std::string_view StaticClassName = "TAdvToolBarButtonActionLink";
    std::string_view ClassName() const override { return StaticClassName; }

    explicit TAdvToolBarButtonActionLink(TAdvCustomToolBarButton* client) : client_(client) {}
    TAdvCustomToolBarButton* Client() const { return client_; }

    bool IsCaptionLinked() const override;
    bool IsCheckedLinked() const override;
    bool IsEnabledLinked() const override;
    bool IsGroupIndexLinked() const override;
    bool IsHintLinked() const override;
    bool IsImageIndexLinked() const override;
    bool IsVisibleLinked() const override;

    void SetCaption(const std::string& value) override;
    void SetChecked(bool value) override;
    void SetEnabled(bool value) override;
    void SetGroupIndex(int value) override;
    void SetHint(const std::string& value) override;
    void SetImageIndex(int value) override;
    void SetVisible(bool value) override;

protected:
    void Change() override;

private:
    TAdvCustomToolBarButton* client_;
};

} // namespace emr
