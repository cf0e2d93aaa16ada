// Helpers shared by the host library's tests: files in a scratch folder and data sets of every
// kind, built through the providers' own operations.
#pragma once

#include <ostrelhost/reference_host.h>

#include <QByteArray>
#include <QString>

#include <cstring>

#include <memory>
#include <ostream>
#include <string>

// gtest shows Qt texts as text.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QByteArray &bytes, std::ostream *out)
{
    *out << '"' << bytes.toStdString() << '"';
}

namespace hosttest {

QByteArray readBytes(const QString &path);
void writeBytes(const QString &path, const QByteArray &bytes);
std::string utf8(const QString &path);

// What a provider's saveFile writes, through a scratch file in folder.
QByteArray savedBytes(IDataProvider &provider, const QString &folder);

// The blocks of two sequences are equal byte for byte.
template <typename T>
bool sameBlocks(const PointerSeq<T> &a, const PointerSeq<T> &b)
{
    if (seqSize(a) != seqSize(b))
        return false;
    for (std::size_t i = 0; i < seqSize(a); ++i) {
        if (std::memcmp(a.first[i], b.first[i], sizeof(T)) != 0)
            return false;
    }
    return true;
}

// Two records are equal byte for byte (padding included: every record here starts zeroed), and
// the named sequences hold equal blocks.
template <typename T, typename... E>
bool sameRecord(const T &a, const T &b, PointerSeq<E> T::*...seqs)
{
    T x, y;
    std::memcpy(static_cast<void *>(&x), &a, sizeof(T));
    std::memcpy(static_cast<void *>(&y), &b, sizeof(T));
    ((x.*seqs = {}, y.*seqs = {}), ...);
    return std::memcmp(&x, &y, sizeof(T)) == 0 && (sameBlocks(a.*seqs, b.*seqs) && ...);
}

bool sameTemplate(const DisplayTemplate &a, const DisplayTemplate &b);

// A user, appended with addUser.
void addUser(ostrelhost::FileAccountProvider &accounts, const char *id, const char *name,
             const char *description = "");
// A group whose members are ("u:" or "g:") + id; the caller's member blocks are freed again
// after addGroup, which must have taken copies.
void addGroup(ostrelhost::FileAccountProvider &accounts, const char *id,
              std::initializer_list<const char *> members);

// A recorder with a firmware version, `infos` additional-information rows and `cameras` cameras.
ServerRecord *addRecorder(ostrelhost::FileServerListProvider &servers, const std::string &name,
                          int productKind, int infos, int cameras);

// An authority file text: `categories` categories of `items` items with `members` members each.
QByteArray authorityXml(int categories, int items, int members, const char *tag = "");

// Data sets large enough that saving them takes a while; variant makes them differ.
void fillAccounts(ostrelhost::FileAccountProvider &accounts, int users, const char *variant);
void fillServers(ostrelhost::FileServerListProvider &servers, int recorders, const char *variant);
void fillTemplates(ostrelhost::FileTemplateProvider &templates, int count, const char *variant);
void fillRemoteSetup(ostrelhost::FileRemoteSetupProvider &remote, int recorders, int variant);

} // namespace hosttest
