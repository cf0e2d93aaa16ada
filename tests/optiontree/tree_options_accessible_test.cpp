// What assistive tools hear from the option tree: the focus and selection events name the row
// that the tree's accessible interface answers for.
#include "tree_options_fixture.h"

#include <QAccessible>

#ifdef OSTREL_HAVE_QPA_ACCESSIBILITY
#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>
#endif

namespace {

#ifdef OSTREL_HAVE_QPA_ACCESSIBILITY

// Records the events that Qt hands to a platform bridge, with the bridge switched on for as long
// as the recorder lives; the previous handler and state come back afterwards.
class AccessibleEventRecorder
{
public:
    struct Heard
    {
        QAccessible::Event type;
        QAccessibleInterface *target;
        QObject *object;
        int child;
        QAccessible::Id id;
    };

    AccessibleEventRecorder()
        : m_platform(QGuiApplicationPrivate::platformIntegration()->accessibility())
        , m_wasActive(QAccessible::isActive())
    {
        s_recorder = this;
        m_previousHandler = QAccessible::installUpdateHandler(&AccessibleEventRecorder::record);
        if (m_platform)
            m_platform->setActive(true);
    }
    ~AccessibleEventRecorder()
    {
        if (m_platform)
            m_platform->setActive(m_wasActive);
        QAccessible::installUpdateHandler(m_previousHandler);
        s_recorder = nullptr;
    }
    AccessibleEventRecorder(const AccessibleEventRecorder &) = delete;
    AccessibleEventRecorder &operator=(const AccessibleEventRecorder &) = delete;

    // The last event of that type; one with no target when none came.
    Heard last(QAccessible::Event type) const
    {
        for (auto it = events.rbegin(); it != events.rend(); ++it) {
            if (it->type == type)
                return *it;
        }
        return {type, nullptr, nullptr, -1, 0};
    }

    std::vector<Heard> events;

private:
    static void record(QAccessibleEvent *event)
    {
        QAccessibleInterface *target = event->accessibleInterface();
        s_recorder->events.push_back({event->type(), target, event->object(), event->child(),
                                      target ? QAccessible::uniqueId(target) : 0});
    }

    static inline AccessibleEventRecorder *s_recorder = nullptr;
    QPlatformAccessibility *m_platform;
    bool m_wasActive;
    QAccessible::UpdateHandler m_previousHandler = nullptr;
};

QString nameOf(const QAccessibleInterface *face)
{
    return face ? face->text(QAccessible::Name) : QStringLiteral("(none)");
}

#endif

// Deleting the selected row takes it out of the selection while the row is still whole; no
// interface made for it then outlives it. (Run under ASan.)
TEST_F(TreeOptionsTest, FocusAndSelectionEventsNameTheRowTheTreeAnswersFor)
{
#ifndef OSTREL_HAVE_QPA_ACCESSIBILITY
    GTEST_SKIP() << "built without Qt's platform accessibility headers";
#else
    QTreeWidgetItem *alarm = tree->InsertGroup(QStringLiteral("Alarm"), 1);
    QTreeWidgetItem *connect = tree->InsertCheckBox(QStringLiteral("Connect"), alarm, true);
    tree->InsertCheckBox(QStringLiteral("Notify"), alarm, true);
    QTreeWidgetItem *language = tree->InsertGroup(QStringLiteral("Language"), 1);
    QTreeWidgetItem *korean = tree->InsertRadioButton(QStringLiteral("Korean"), language, true);
    tree->InsertRadioButton(QStringLiteral("English"), language, false);
    tree->expandAll();
    show();
    const bool wasActive = QAccessible::isActive();
    {
        AccessibleEventRecorder recorder;
        ASSERT_TRUE(QAccessible::isActive());
        QAccessibleInterface *treeFace = QAccessible::queryAccessibleInterface(tree);
        ASSERT_NE(treeFace, nullptr);
        QAccessibleInterface *languageFace = treeFace->child(1);
        ASSERT_NE(languageFace, nullptr);

        // A top-level row, by its index among the tree's children.
        tree->setCurrentItem(language);
        AccessibleEventRecorder::Heard focus = recorder.last(QAccessible::Focus);
        EXPECT_EQ(nameOf(focus.target), QStringLiteral("Language"));
        EXPECT_EQ(focus.target, languageFace);
        EXPECT_EQ(focus.object, tree);
        EXPECT_EQ(focus.child, treeFace->indexOfChild(languageFace));
        EXPECT_EQ(nameOf(recorder.last(QAccessible::SelectionAdd).target),
                  QStringLiteral("Language"));

        // A row inside a group, and the row the selection left.
        recorder.events.clear();
        tree->setCurrentItem(korean);
        EXPECT_EQ(recorder.last(QAccessible::Focus).target, languageFace->child(0));
        EXPECT_EQ(nameOf(recorder.last(QAccessible::SelectionAdd).target),
                  QStringLiteral("Korean"));
        EXPECT_EQ(recorder.last(QAccessible::SelectionRemove).target, languageFace);

        // The keys move the focus the same way.
        recorder.events.clear();
        QTest::keyClick(tree, Qt::Key_Down);
        EXPECT_EQ(nameOf(recorder.last(QAccessible::Focus).target), QStringLiteral("English"));
        QTest::keyClick(tree, Qt::Key_Home);
        EXPECT_EQ(nameOf(recorder.last(QAccessible::Focus).target), QStringLiteral("Alarm"));

        tree->setCurrentItem(connect);
        recorder.events.clear();
        delete connect;
        for (const AccessibleEventRecorder::Heard &heard : recorder.events) {
            if (QAccessibleInterface *face = QAccessible::accessibleInterface(heard.id)) {
                EXPECT_NE(face->text(QAccessible::Name), QStringLiteral("Connect"));
            }
        }
        EXPECT_EQ(nameOf(recorder.last(QAccessible::Focus).target), QStringLiteral("Notify"));
    }
    EXPECT_EQ(QAccessible::isActive(), wasActive);
#endif
}

} // namespace
