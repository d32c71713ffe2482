#include "pages/exams.h"

namespace zeziza::pages {

Ttestset::Ttestset() : web::Page("Ttestset") { OnCreate = [this] { IWAppFormCreate(); }; }

void Ttestset::IWAppFormCreate() {}

}  // namespace zeziza::pages
