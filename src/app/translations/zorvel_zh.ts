<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>CommandLine</name>
    <message>
        <source>Writes a consistent copy of the history to FILE, also while Zorvel runs, and ends.</source>
        <translation>把训练记录的完整副本写入 FILE（Zorvel 运行时也可以），然后结束。</translation>
    </message>
    <message>
        <source>Puts the history in FILE (a copy that --backup or a clear made) in place of the current one, which is kept in the backups folder, and ends; Zorvel must not be running on that data.</source>
        <translation>用 FILE 中的训练记录（--backup 或清空时做的副本）替换当前的训练记录，当前的训练记录保存在 backups 文件夹中，然后结束；此时不能有 Zorvel 在使用这份数据。</translation>
    </message>
    <message>
        <source>Writes every accepted answer to FILE.csv, one row each, and ends.</source>
        <translation>把每个被接受的回答写入 FILE.csv，每个回答一行，然后结束。</translation>
    </message>
    <message>
        <source>%1: give only one of %2 at a time.
</source>
        <translation>%1：%2 一次只能给出其中一个。
</translation>
    </message>
    <message>
        <source>Zorvel trains divergent, associative thinking. Its window is in Chinese.
Qt&apos;s own options, such as -platform, -style and -session, work as well.</source>
        <translation>Zorvel 用于训练发散思维和联想思维，窗口界面为中文。
Qt 自己的选项（如 -platform、-style 和 -session）同样可用。</translation>
    </message>
    <message>
        <source>Shows this help and ends.</source>
        <translation>显示本帮助，然后结束。</translation>
    </message>
    <message>
        <source>Shows the version and ends.</source>
        <translation>显示版本号，然后结束。</translation>
    </message>
    <message>
        <source>Works on the history in FILE instead of the user&apos;s own; a new history is made there when FILE does not exist.</source>
        <translation>使用 FILE 中的训练记录，而不是当前用户自己的；FILE 不存在时在那里新建一份训练记录。</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>未知选项 %1</translation>
    </message>
    <message>
        <source>unknown options %1</source>
        <translation>未知选项 %1</translation>
    </message>
    <message>
        <source>%1: %2; &apos;%1 --help&apos; lists the options.
</source>
        <translation>%1：%2；“%1 --help”会列出所有选项。
</translation>
    </message>
    <message>
        <source>Usage: %1 [options]</source>
        <translation>用法：%1 [选项]</translation>
    </message>
    <message>
        <source>%1: --data needs a file, but %2 is a folder.
</source>
        <translation>%1：--data 需要一个文件，而“%2”是文件夹。
</translation>
    </message>
    <message>
        <source>zorvel: no graphical display found (DISPLAY and WAYLAND_DISPLAY are unset); to run without one, use: xvfb-run %1
</source>
        <translation>zorvel：找不到图形显示（DISPLAY 和 WAYLAND_DISPLAY 都没有设置）；如果要在没有图形显示的情况下运行，请使用：xvfb-run %1
</translation>
    </message>
    <message>
        <source>Writes the progress report, a page for any web browser, to FILE.html, and ends. With data files after it (zorvel --report class.html a.mdb b.mdb, or *.mdb), writes one page for the class instead: a row and a small chart per pupil.</source>
        <translation>把进度报告（任何网页浏览器都能打开的网页）写入 FILE.html，然后结束。后面再给出数据文件时（zorvel --report class.html a.mdb b.mdb，或 *.mdb），改为写一页全班概览：每个学生一行，各附一张小图。</translation>
    </message>
    <message>
        <source>Stores NAME in the history as the pupil&apos;s name, which the report and the export show, and ends; an empty NAME (&quot;&quot;) forgets it. Without a stored name they show the data file&apos;s name, or the account&apos;s user name for the user&apos;s own file.</source>
        <translation>把 NAME 作为学生姓名存入训练记录（进度报告和导出的表格会显示它），然后结束；NAME 为空（&quot;&quot;）时删去已存的姓名。没有存姓名时，显示数据文件的名称，用户自己的数据文件则显示账户的用户名。</translation>
    </message>
    <message>
        <source>Writes the progress report to NAME-进度报告.html in the Documents folder (NAME: the data file&apos;s name), opens it in the default web browser, and ends. Needs a display.</source>
        <translation>把进度报告写入“文档”文件夹中的 NAME-进度报告.html（NAME 为数据文件的名称），用默认的网页浏览器打开它，然后结束。需要图形显示。</translation>
    </message>
    <message>
        <source>%1: give the data files either with --data or after --report, not both.
</source>
        <translation>%1：数据文件请用 --data 给出，或写在 --report 之后，不能两样都用。
</translation>
    </message>
</context>
<context>
    <name>HistoryCommands</name>
    <message>
        <source>cannot be read (%1)</source>
        <translation>无法读取（%1）</translation>
    </message>
    <message>
        <source>is not a Zorvel history</source>
        <translation>不是 Zorvel 的训练记录</translation>
    </message>
    <message>
        <source>was made by a newer Zorvel than this one</source>
        <translation>由较新版本的 Zorvel 创建，本程序无法使用</translation>
    </message>
    <message>
        <source>the disk is full</source>
        <translation>磁盘空间不足</translation>
    </message>
    <message>
        <source>the file or its folder is read-only</source>
        <translation>文件或其所在的文件夹是只读的</translation>
    </message>
    <message>
        <source>the history is damaged</source>
        <translation>训练记录已损坏</translation>
    </message>
    <message>
        <source>a read or write error</source>
        <translation>读写出错</translation>
    </message>
    <message>
        <source>another program holds the file</source>
        <translation>文件正被其他程序占用</translation>
    </message>
    <message>
        <source>the file cannot be opened</source>
        <translation>无法打开文件</translation>
    </message>
    <message>
        <source>Could not write a copy of the history to %1 (%2); nothing was changed.</source>
        <translation>无法把训练记录的副本写入“%1”（%2），没有改动任何文件。</translation>
    </message>
    <message>
        <source>Could not restore %1 (%2); the history was left as it was.</source>
        <translation>无法恢复“%1”（%2），训练记录保持原样。</translation>
    </message>
    <message>
        <source>Could not export the answers to %1 (%2); nothing was written.</source>
        <translation>无法把回答导出到“%1”（%2），没有写入任何文件。</translation>
    </message>
    <message>
        <source>Could not write the progress report to %1 (%2); nothing was written.</source>
        <translation>无法把进度报告写入“%1”（%2），没有写入任何文件。</translation>
    </message>
    <message>
        <source>There is no data folder for this user, so there is no history; nothing was changed.</source>
        <translation>当前用户没有数据文件夹，因此没有训练记录，没有改动任何文件。</translation>
    </message>
    <message>
        <source>There is no history at %1 (Zorvel makes one when it first starts there); nothing was changed.</source>
        <translation>“%1”处没有训练记录（Zorvel 第一次在那里启动时才会建立），没有改动任何文件。</translation>
    </message>
    <message>
        <source>%1 %2; nothing was changed.</source>
        <translation>“%1”%2，没有改动任何文件。</translation>
    </message>
    <message>
        <source>%1 is the history itself, so nothing was written; name another file.</source>
        <translation>“%1”就是训练记录本身，因此没有写入任何文件；请指定另一个文件。</translation>
    </message>
    <message>
        <source>Wrote a copy of the history %1 to %2.</source>
        <translation>已把训练记录“%1”的副本写入“%2”。</translation>
    </message>
    <message>
        <source>Could not write %1 (%2); nothing was written.</source>
        <translation>无法写入“%1”（%2），没有写入任何文件。</translation>
    </message>
    <message>
        <source>%1 %2, so nothing was restored.</source>
        <translation>“%1”%2，因此没有恢复任何内容。</translation>
    </message>
    <message>
        <source>is not a file that exists</source>
        <translation>不是一个存在的文件</translation>
    </message>
    <message>
        <source>has answers in the log beside it that are not in the file itself (back it up with --data and --backup, and restore that copy)</source>
        <translation>旁边的日志文件中有尚未写入文件本身的回答（请先用 --data 和 --backup 为它做一个副本，再恢复那个副本）</translation>
    </message>
    <message>
        <source>is damaged: it is shorter than its header says</source>
        <translation>已损坏：文件比文件头记录的长度短</translation>
    </message>
    <message>
        <source>is damaged: it fails SQLite&apos;s integrity check</source>
        <translation>已损坏：没有通过 SQLite 的完整性检查</translation>
    </message>
    <message>
        <source>is not a whole history: one of its tables is missing</source>
        <translation>不是完整的训练记录：缺少数据表</translation>
    </message>
    <message>
        <source>There is no data folder for this user to restore into; nothing was changed.</source>
        <translation>当前用户没有可以恢复到的数据文件夹，没有改动任何文件。</translation>
    </message>
    <message>
        <source>Zorvel is running on %1, so nothing was restored; close it, then restore again.</source>
        <translation>Zorvel 正在使用“%1”，因此没有恢复任何内容；请关闭它后再恢复。</translation>
    </message>
    <message>
        <source>Restored %1 as the history %2.</source>
        <translation>已把“%1”恢复为训练记录“%2”。</translation>
    </message>
    <message>
        <source>Restored %1 as the history %2; the history it replaced is kept as %3.</source>
        <translation>已把“%1”恢复为训练记录“%2”；被替换的训练记录保存为“%3”。</translation>
    </message>
    <message>
        <source>Wrote the answers of the history %1 to %2.</source>
        <translation>已把训练记录“%1”中的回答导出到“%2”。</translation>
    </message>
    <message>
        <source>Wrote the progress report of the history %1 to %2.</source>
        <translation>已把训练记录“%1”的进度报告写入“%2”。</translation>
    </message>
    <message>
        <source>zorvel: %1</source>
        <translation>zorvel：%1</translation>
    </message>
    <message>
        <source>Could not store the pupil&apos;s name %1 (%2); nothing was changed.</source>
        <translation>无法存入学生姓名“%1”（%2），没有改动任何文件。</translation>
    </message>
    <message>
        <source>Wrote the class overview of %1 histories to %2.</source>
        <translation>已把 %1 份训练记录的全班概览写入“%2”。</translation>
    </message>
    <message>
        <source>Wrote the class overview of %1 histories to %2; %3 of them could not be read: %4.</source>
        <translation>已把 %1 份训练记录的全班概览写入“%2”；其中 %3 份无法读取：%4。</translation>
    </message>
    <message>
        <source>The progress report was written to %1, but no web browser could open it.</source>
        <translation>进度报告已写入“%1”，但无法用网页浏览器打开它。</translation>
    </message>
    <message>
        <source>The name is %1 characters long; a pupil&apos;s name may have at most %2, so nothing was changed.</source>
        <translation>这个姓名有 %1 个字符，学生姓名最多只能有 %2 个字符，因此没有改动任何内容。</translation>
    </message>
    <message>
        <source>The history %1 no longer stores a pupil&apos;s name; it is shown as %2.</source>
        <translation>训练记录“%1”不再存有学生姓名，现在显示为“%2”。</translation>
    </message>
    <message>
        <source>The history %1 now stores the pupil&apos;s name %2.</source>
        <translation>训练记录“%1”现在存有学生姓名“%2”。</translation>
    </message>
</context>
</TS>
