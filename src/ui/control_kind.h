#pragma once

// Stored on every control made by create_control as the "Brivane.Kind"
// window property, so painting and colour code can ask a control what it is.
enum class ControlKind : int {
    None = 0,
    Label = 1,
    PageTitle = 2,
    SectionTitle = 3,
    Hint = 4,
    Button = 5,
    PrimaryButton = 6,
    TextField = 7,
    TextArea = 8,
    ResultArea = 9,
    Dropdown = 10,
    NavItem = 11,
    BrandLabel = 12,
    StatusLabel = 13,
};
