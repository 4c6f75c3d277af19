// The nesting settings dialog: edits a working copy of the settings record; the caller takes
// the copy back when the dialog ends with OK.
#pragma once

#include "afxwin.h"
#include "frame/HelpForDialog.h"
#include "nesting/settings/NestSettings.h"

#include <memory>

namespace gantrel {

class Settings_dlg : public CZdUiDialog {
public:
    explicit Settings_dlg(const NestSettings& settings, CWnd* parent = nullptr);
    ~Settings_dlg() override;

    // The dialog owns its help object; F1 does nothing without one.
    void SetHelp(std::unique_ptr<HelpProvider> help);
    // The working copy: the settings as shown, or as accepted after OK.
    const NestSettings& Settings() const { return m_settings; }

    // The rotation step shown for a rotation count: 360 / count, 0 for no rotations.
    static double StepOfCount(int count);
    // The rotation count of a step: 0 for a step of (almost) 0, otherwise 360 / step rounded,
    // at most kMaxRotationCount: the search draws among all rotations of a part every time it
    // turns one, so a step of a millionth of a degree would stall the run.
    static int CountOfStep(double step);
    static constexpr long kMaxRotationCount = 3600;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    void OnOK() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnHelpInfo(HELPINFO* info) override;

private:
    void EnableRotationStep();

    CEdit m_rotationStepEdit;
    CButton m_rotationAllowedCheck;
    CSliderCtrl m_mutationSlider;
    CButton m_improveCheck;
    std::unique_ptr<HelpProvider> m_help;
    double m_rotationStep = 0.0;
    double m_spacing = 0.0;
    int m_population = 0;
    int m_mutationRate = 0;
    int m_arcPrecision = 0;
    int m_maxCalculationTime = 0;
    int m_generations = 1;
    NestSettings m_settings;
};

} // namespace gantrel
