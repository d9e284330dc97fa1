#pragma once

// The effect pages that need nothing of the editor object but the builder.

namespace omnar::pages {

class PageBuilder;

void AddAnalogSimPage(PageBuilder& builder);
void AddLevelPage(PageBuilder& builder);
void AddDynamicsPages(PageBuilder& builder);
void AddFilterPages(PageBuilder& builder);
void AddAutoFilterPage(PageBuilder& builder);
void AddChorusPage(PageBuilder& builder);

} // namespace omnar::pages
