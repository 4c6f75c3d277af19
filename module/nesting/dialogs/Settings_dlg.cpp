#include "nesting/dialogs/Settings_dlg.h"

#include "frame/TextProvider.h"
#include "resources/NestingResources.h"

#include <algorithm>
#include <cmath>

namespace gantrel {

namespace {

// Language-pack texts of the dialog.
constexpr unsigned kCaptionText = 30020;
constexpr unsigned kSaveText = 30005;
constexpr unsigned kCancelText = 30004;
constexpr unsigned kRotationText = 30101;
constexpr unsigned kSpacingText = 30102;
constexpr unsigned kPopulationText = 30103;
constexpr unsigned kMutationText = 30104;
constexpr unsigned kUnusedLabelText = 30105;
constexpr unsigned kArcPrecisionText = 30108;
constexpr unsigned kMaxTimeText = 30113;
constexpr unsigned kGenerationsText = 30114;
constexpr unsigned kImproveText = 30115;

constexpr int kMutationMin = 30;
constexpr int kMutationMax = 70;

} // namespace

Settings_dlg::Settings_dlg(const NestSettings& settings, CWnd* parent)
    : CZdUiDialog(IDD_NEST_SETTINGS, parent), m_settings(settings) {
    RegisterNestingDialogs();
}

Settings_dlg::~Settings_dlg() = default;

void Settings_dlg::SetHelp(std::unique_ptr<HelpProvider> help) {
    m_help = std::move(help);
}

double Settings_dlg::StepOfCount(int count) {
    return count == 0 ? 0.0 : 360.0 / count;
}

int Settings_dlg::CountOfStep(double step) {
    if (std::fabs(step) < 1e-6) {
        return 0;
    }
    return static_cast<int>(std::min(std::lround(360.0 / step), kMaxRotationCount));
}

BOOL Settings_dlg::OnInitDialog() {
    m_rotationStep = StepOfCount(m_settings.rotationCount);
    m_spacing = m_settings.spacing;
    m_population = m_settings.population;
    m_mutationRate = m_settings.mutationRate;
    m_maxCalculationTime = m_settings.maxCalculationTime;
    m_arcPrecision = static_cast<int>(m_settings.arcPrecision);
    m_generations = m_settings.generations;
    m_rotationStepEdit.SubclassDlgItem(IDC_ROTATION_STEP, this);
    m_rotationAllowedCheck.SubclassDlgItem(IDC_ROTATION_ALLOWED, this);
    m_mutationSlider.SubclassDlgItem(IDC_MUTATION_RATE, this);
    m_improveCheck.SubclassDlgItem(IDC_IMPROVE, this);
    // Fills the edits from the values above.
    CZdUiDialog::OnInitDialog();

    SetWindowText(GetPackText(kCaptionText).c_str());
    SetDlgItemText(IDOK, GetPackText(kSaveText).c_str());
    SetDlgItemText(IDCANCEL, GetPackText(kCancelText).c_str());
    SetDlgItemText(IDC_ROTATION_LABEL, GetPackText(kRotationText).c_str());
    SetDlgItemText(IDC_SPACING_LABEL, GetPackText(kSpacingText).c_str());
    SetDlgItemText(IDC_POPULATION_LABEL, GetPackText(kPopulationText).c_str());
    SetDlgItemText(IDC_MUTATION_LABEL, GetPackText(kMutationText).c_str());
    // The template has no control 1010; the text goes nowhere.
    SetDlgItemText(IDC_UNUSED_LABEL, GetPackText(kUnusedLabelText).c_str());
    SetDlgItemText(IDC_ARC_PRECISION_LABEL, GetPackText(kArcPrecisionText).c_str());
    SetDlgItemText(IDC_MAX_TIME_LABEL, GetPackText(kMaxTimeText).c_str());
    SetDlgItemText(IDC_GENERATIONS_LABEL, GetPackText(kGenerationsText).c_str());
    SetDlgItemText(IDC_IMPROVE_LABEL, GetPackText(kImproveText).c_str());

    m_rotationAllowedCheck.SetCheck(m_settings.rotationAllowed ? BST_CHECKED : BST_UNCHECKED);
    m_improveCheck.SetCheck(m_settings.improve ? BST_CHECKED : BST_UNCHECKED);
    m_mutationSlider.SetRange(kMutationMin, kMutationMax);
    m_mutationSlider.SetPos(m_mutationRate);
    EnableRotationStep();
    return TRUE;
}

void Settings_dlg::DoDataExchange(CDataExchange* dx) {
    CZdUiDialog::DoDataExchange(dx);
    DDX_Text(dx, IDC_ROTATION_STEP, m_rotationStep);
    DDV_MinMaxDouble(dx, m_rotationStep, 0.0, 360.0);
    DDX_Text(dx, IDC_SPACING, m_spacing);
    DDV_MinMaxDouble(dx, m_spacing, 0.0, 500.0);
    DDX_Text(dx, IDC_POPULATION, m_population);
    DDV_MinMaxInt(dx, m_population, 1, 10000);
    DDX_Text(dx, IDC_ARC_PRECISION, m_arcPrecision);
    DDV_MinMaxInt(dx, m_arcPrecision, 0, 100);
    DDX_Text(dx, IDC_MAX_TIME, m_maxCalculationTime);
    DDV_MinMaxInt(dx, m_maxCalculationTime, 1, 3000);
    DDX_Text(dx, IDC_GENERATIONS, m_generations);
    DDV_MinMaxInt(dx, m_generations, 1, 100000);
}

void Settings_dlg::EnableRotationStep() {
    m_rotationStepEdit.EnableWindow(m_rotationAllowedCheck.GetCheck() == BST_CHECKED);
}

BOOL Settings_dlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == IDC_ROTATION_ALLOWED && HIWORD(wParam) == BN_CLICKED) {
        // The values typed so far are kept; a bad one is reported now as it would be on OK.
        UpdateData(TRUE);
        EnableRotationStep();
        return TRUE;
    }
    return CZdUiDialog::OnCommand(wParam, lParam);
}

void Settings_dlg::OnOK() {
    if (!UpdateData(TRUE)) {
        return;
    }
    m_settings.rotationCount = CountOfStep(m_rotationStep);
    m_settings.spacing = m_spacing;
    m_settings.population = m_population;
    m_settings.arcPrecision = static_cast<double>(m_arcPrecision);
    m_settings.maxCalculationTime = m_maxCalculationTime;
    m_settings.generations = m_generations;
    m_settings.mutationRate = m_mutationSlider.GetPos();
    m_settings.rotationAllowed = m_rotationAllowedCheck.GetCheck() == BST_CHECKED;
    m_settings.improve = m_improveCheck.GetCheck() == BST_CHECKED;
    CZdUiDialog::OnOK();
}

BOOL Settings_dlg::OnHelpInfo(HELPINFO* info) {
    static_cast<void>(info);
    if (m_help != nullptr) {
        m_help->ShowHelp();
    }
    return TRUE;
}

} // namespace gantrel
