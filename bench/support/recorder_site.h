// The numbered recorders of a large site, made alike by every recorder benchmark: "Recorder 00042"
// at 10.0.0.42, port 7000, then whatever each adds. List is any recorder list with createServer
// and getServer.
#pragma once

#include <ostrel/records.h>

#include <cstdio>

namespace benchsupport {

template <typename List, typename Each>
void addNumberedRecorders(List &list, int count, Each &&each)
{
    char name[51];
    for (int i = 0; i < count; ++i) {
        std::snprintf(name, sizeof name, "Recorder %05d", i);
        ServerRecord *record = nullptr;
        list.getServer(list.createServer(name), &record);
        std::snprintf(record->address, sizeof record->address, "10.%d.%d.%d", i / 65536,
                      i / 256 % 256, i % 256);
        record->port = 7000;
        each(*record, i);
    }
}

} // namespace benchsupport
