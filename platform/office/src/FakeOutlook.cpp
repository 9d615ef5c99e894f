#include "FakeOutlook.h"

#include <stdexcept>

#include "ButtonObject.h"
#include "ModelObjects.h"

namespace officehost {

FakeOutlook::FakeOutlook(const HostSwitches& switches, CallLog& log)
    : state_(std::make_shared<detail::ModelState>(switches, log)),
      application_(detail::MakeObject<detail::ApplicationObject>(state_)) {}

FakeOutlook::~FakeOutlook() {
    // Objects an add-in still holds stay callable, but log nowhere.
    state_->log = nullptr;
    state_->Detach();
}

IDispatch* FakeOutlook::Application() const { return application_; }

bool FakeOutlook::HasBar() const { return state_->lastBar != nullptr; }

std::wstring FakeOutlook::BarName() const { return state_->lastBar ? state_->lastBar->Name() : std::wstring(); }

bool FakeOutlook::BarVisible() const { return state_->lastBar && state_->lastBar->Visible(); }

size_t FakeOutlook::ButtonCount() const { return state_->buttons.size(); }

FakeOutlook::ButtonState FakeOutlook::Button(size_t index) const { return state_->buttons.at(index)->Snapshot(); }

size_t FakeOutlook::Click(size_t index) { return state_->buttons.at(index)->FireClick(); }

void FakeOutlook::SetParameter(size_t index, const std::wstring& text) { state_->buttons.at(index)->SetParameter(text); }

}  // namespace officehost
