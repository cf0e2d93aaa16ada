// The information view of one recorder: the categorised name/value list that the recorder
// manager shows for the selected recorder, built from the host's "serverInfo" display template
// and the recorder's record.
#pragma once

#include <ostrel/data_provider.h>

// Builds a new view, owned by the caller and freed with setupmgr::freeInfoView
// (common/info_view.h), usually by the information list box that shows it. The template's
// categories and items are copied in order; the items of category "dvr" take their values from
// the record, and category "addInfo" gets one more item per additional-information entry. Without
// a template provider, or when it has no "serverInfo" template, the view is empty. Null only when
// memory runs out.
InfoView *BuildServerInfoView(const ServerRecord &record);

namespace setupmgr {

// The process-wide template provider that BuildServerInfoView reads; the setup manager sets it to
// the registered kind-8 provider before it opens the recorder manager. Not owned.
void setDisplayTemplateProvider(IDisplayTemplateProvider *provider);
IDisplayTemplateProvider *displayTemplateProvider();

} // namespace setupmgr
