// The start-up baseline: a bare Qt window with what qzb's window shows at first paint (a menu bar,
// a tool bar of seven buttons with pictures, a tree beside an empty pane, a status line), saved as
// a picture the way qzb --screenshot saves its own, then closed.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        return 1;
    }
    QMainWindow window;
    window.resize(760, 520);
    QMenu* file = window.menuBar()->addMenu("&File");
    for (const char* text : {"Connect", "Disconnect", "Upload", "Download", "Open...", "Save As...", "Exit"}) {
        file->addAction(text);
    }
    window.menuBar()->addMenu("&Help")->addAction("About");
    QToolBar* bar = window.addToolBar("Commands");
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    for (const char* text : {"Connect", "Disconnect", "Upload", "Download", "Open", "Save", "Password"}) {
        QPixmap picture(24, 24);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        painter.setBrush(Qt::darkBlue);
        painter.drawEllipse(4, 4, 16, 16);
        painter.end();
        bar->addAction(QIcon(picture), text);
    }
    auto* splitter = new QSplitter(&window);
    auto* tree = new QTreeWidget(splitter);
    tree->setHeaderHidden(true);
    for (const char* top : {"Dial Registration", "Machine Information"}) {
        auto* item = new QTreeWidgetItem(tree, QStringList(top));
        for (const char* child : {"Speed Dial", "Group Dial", "Address Book", "Total Counter", "Configuration"}) {
            new QTreeWidgetItem(item, QStringList(child));
        }
        item->setExpanded(true);
    }
    new QLabel("Connection state : Off line", splitter);
    splitter->setSizes({220, 540});
    window.setCentralWidget(splitter);
    window.statusBar()->addWidget(new QLabel("Ready"), 1);
    window.show();
    QApplication::processEvents();
    window.repaint();
    QApplication::processEvents();
    return window.grab().save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 2;
}
