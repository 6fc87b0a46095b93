<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>BatchReplace</name>
    <message>
        <source>; нет такой картинки: %1</source>
        <translation>; no such picture: %1</translation>
    </message>
    <message>
        <source>; пропущены: %1</source>
        <translation>; passed over: %1</translation>
    </message>
    <message>
        <source>; не хватило места: %1</source>
        <translation>; no room left: %1</translation>
    </message>
    <message>
        <source>; размер изменён: %1</source>
        <translation>; size changed: %1</translation>
    </message>
    <message>
        <source>До этого файла заменено картинок: %1. Не обработано файлов, включая этот: %2 из %3.</source>
        <translation>Pictures replaced before this file: %1. Files not processed, this one included: %2 of %3.</translation>
    </message>
    <message numerus="yes">
        <source>Удачно заменено %n картинок из %1 выбранных</source>
        <translation>
            <numerusform>%n picture replaced of %1 chosen</numerusform>
            <numerusform>%n pictures replaced of %1 chosen</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Cli</name>
    <message>
        <source>Открытие отменено: установленный патч не подошёл.</source>
        <translation>Opening cancelled: an installed patch did not fit.</translation>
    </message>
    <message>
        <source>%1: %2, записей: %3</source>
        <translation>%1: %2, records: %3</translation>
    </message>
    <message>
        <source>предупреждение: </source>
        <translation>warning: </translation>
    </message>
    <message>
        <source>нет данных патча</source>
        <translation>no patch data</translation>
    </message>
    <message>
        <source>unknown command &quot;%1&quot;</source>
        <translation>unknown command &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--lang takes &quot;en&quot; or &quot;original&quot;</source>
        <translation>--lang takes &quot;en&quot; or &quot;original&quot;</translation>
    </message>
    <message>
        <source>wrong number of arguments for &quot;%1&quot;</source>
        <translation>wrong number of arguments for &quot;%1&quot;</translation>
    </message>
    <message>
        <source>option %1 given twice</source>
        <translation>option %1 given twice</translation>
    </message>
    <message>
        <source>--settings needs a file name</source>
        <translation>--settings needs a file name</translation>
    </message>
    <message>
        <source>--with needs a patch file</source>
        <translation>--with needs a patch file</translation>
    </message>
    <message>
        <source>--search takes &quot;tables&quot; or &quot;records&quot;</source>
        <translation>--search takes &quot;tables&quot; or &quot;records&quot;</translation>
    </message>
    <message>
        <source>--format takes &quot;bmp&quot; or &quot;png&quot;</source>
        <translation>--format takes &quot;bmp&quot; or &quot;png&quot;</translation>
    </message>
    <message>
        <source>-o needs a file name</source>
        <translation>-o needs a file name</translation>
    </message>
    <message>
        <source>в окне настроек редактора или в файле «%1»</source>
        <translation>in the editor&apos;s settings dialog or in the file “%1”</translation>
    </message>
    <message>
        <source>Не удалось записать файл &quot;%1&quot;: %2</source>
        <translation>Could not write the file &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>OUT must not be the FullFlash file itself: %1</source>
        <translation>OUT must not be the FullFlash file itself: %1</translation>
    </message>
    <message>
        <source>Cannot create the folder &quot;%1&quot;</source>
        <translation>Cannot create the folder &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Заменить эти картинки?</source>
        <translation>Replace these pictures?</translation>
    </message>
    <message>
        <source>FullFlash lies outside the image</source>
        <translation>FullFlash lies outside the image</translation>
    </message>
    <message>
        <source>Патч не записан: размер картинок не подтверждён (--yes заменяет их).</source>
        <translation>No patch written: the picture sizes were not confirmed (--yes replaces them).</translation>
    </message>
    <message>
        <source>Usage: vorlix-cli COMMAND ARGUMENTS [--settings FILE] [--lang en|original]

Commands:
  info FLASH [--with PATCH]       model, tables and picture counts
  list FLASH [--search tables|records] [--with PATCH]
                                  one tab-separated line per picture
  export FLASH DIR [--format bmp|png] [--with PATCH]
                                  every picture as DIR/PIT_&lt;PIT&gt;.bmp (or .png)
  patch FLASH FILE... [-o OUT] [--line-length N] [--plain] [--author NAME] [--yes]
        [--with PATCH]
                                  replace pictures by PIT_&lt;PIT&gt;.bmp files and
                                  write the patch (to OUT or stdout); a file
                                  larger than the model&apos;s maximum size is
                                  refused unless --yes is given
  apply FLASH PATCH... [--undo] [--yes] [-o OUT]
                                  apply patches in the order given, all or
                                  nothing (--undo: take them out, last first);
                                  -o writes the patched FullFlash
  parse PATCH...                  read patches: one line ADDR OLD NEW a record
  check FLASH PATCH...            conflicts of patches flashed in the order
                                  given: overlapping records, old bytes that
                                  do not match, patches present already; one
                                  line each, exit status 1 on an overlap or a
                                  mismatch
  fill FLASH [--with PATCH]       patch that erases every picture (stdout)
  sample OUT                      write a demo FullFlash (8 MiB, C55 layout)

--with PATCH (repeatable) brings a patch installed on the phone onto the
FullFlash first, in the order given: pictures are listed as the phone shows
them, and a new patch applies after it and never writes its bytes.
--model NAME (every command that reads a FLASH) names the model of a
FullFlash whose build information names none the program knows: a known
model (C55, A52, S45i, SL45i, A50, C35, M55, MC60, C60, S55), whose
FullFlash, dump size and largest picture it then takes, or a model and
version such as C55v50, whose stored settings it then uses.
--settings FILE names the settings file (else VORLIX_SETTINGS, else the
default location). The FullFlash file is never written. Questions are
answered &quot;No&quot; unless --yes is given.
--lang en|original: the messages in English or in their original words
(else as the settings&apos; Language says).
--help prints this text, --version the program&apos;s version.
Exit status: 0 success, 1 error, 2 wrong usage.
</source>
        <translation>Usage: vorlix-cli COMMAND ARGUMENTS [--settings FILE] [--lang en|original]

Commands:
  info FLASH [--with PATCH]       model, tables and picture counts
  list FLASH [--search tables|records] [--with PATCH]
                                  one tab-separated line per picture
  export FLASH DIR [--format bmp|png] [--with PATCH]
                                  every picture as DIR/PIT_&lt;PIT&gt;.bmp (or .png)
  patch FLASH FILE... [-o OUT] [--line-length N] [--plain] [--author NAME] [--yes]
        [--with PATCH]
                                  replace pictures by PIT_&lt;PIT&gt;.bmp files and
                                  write the patch (to OUT or stdout); a file
                                  larger than the model&apos;s maximum size is
                                  refused unless --yes is given
  apply FLASH PATCH... [--undo] [--yes] [-o OUT]
                                  apply patches in the order given, all or
                                  nothing (--undo: take them out, last first);
                                  -o writes the patched FullFlash
  parse PATCH...                  read patches: one line ADDR OLD NEW a record
  check FLASH PATCH...            conflicts of patches flashed in the order
                                  given: overlapping records, old bytes that
                                  do not match, patches present already; one
                                  line each, exit status 1 on an overlap or a
                                  mismatch
  fill FLASH [--with PATCH]       patch that erases every picture (stdout)
  sample OUT                      write a demo FullFlash (8 MiB, C55 layout)

--with PATCH (repeatable) brings a patch installed on the phone onto the
FullFlash first, in the order given: pictures are listed as the phone shows
them, and a new patch applies after it and never writes its bytes.
--model NAME (every command that reads a FLASH) names the model of a
FullFlash whose build information names none the program knows: a known
model (C55, A52, S45i, SL45i, A50, C35, M55, MC60, C60, S55), whose
FullFlash, dump size and largest picture it then takes, or a model and
version such as C55v50, whose stored settings it then uses.
--settings FILE names the settings file (else VORLIX_SETTINGS, else the
default location). The FullFlash file is never written. Questions are
answered &quot;No&quot; unless --yes is given.
--lang en|original: the messages in English or in their original words
(else as the settings&apos; Language says).
--help prints this text, --version the program&apos;s version.
Exit status: 0 success, 1 error, 2 wrong usage.
</translation>
    </message>
    <message>
        <source>--model needs a model name</source>
        <translation>--model needs a model name</translation>
    </message>
    <message>
        <source>Патч не записан: он не даёт картинки, как они заменены:</source>
        <translation>No patch written: it does not give the pictures as replaced:</translation>
    </message>
</context>
<context>
    <name>ColorMerge</name>
    <message numerus="yes">
        <source>%n цветов сведены к %1</source>
        <translation>
            <numerusform>%n colour merged into %1</numerusform>
            <numerusform>%n colours merged into %1</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>EditorCommandLine</name>
    <message>
        <source>Try &quot;vorlix --help&quot;.</source>
        <translation>Try &quot;vorlix --help&quot;.</translation>
    </message>
    <message>
        <source>Keep the settings in the INI file FILE instead of the default place (VORLIX_SETTINGS, else the user&apos;s configuration folder).</source>
        <translation>Keep the settings in the INI file FILE instead of the default place (VORLIX_SETTINGS, else the user&apos;s configuration folder).</translation>
    </message>
    <message>
        <source>Show this help and end.</source>
        <translation>Show this help and end.</translation>
    </message>
    <message>
        <source>Show the program&apos;s version and end.</source>
        <translation>Show the program&apos;s version and end.</translation>
    </message>
    <message>
        <source>--settings is given twice.</source>
        <translation>--settings is given twice.</translation>
    </message>
    <message>
        <source>--settings needs a file name.</source>
        <translation>--settings needs a file name.</translation>
    </message>
    <message>
        <source>Only one FullFlash opens at start.</source>
        <translation>Only one FullFlash opens at start.</translation>
    </message>
    <message>
        <source>The FullFlash&apos;s name is empty.</source>
        <translation>The FullFlash&apos;s name is empty.</translation>
    </message>
    <message>
        <source>The interface&apos;s language for this run: en (English) or original (the texts as the program was made with), over the choice in the settings.</source>
        <translation>The interface&apos;s language for this run: en (English) or original (the texts as the program was made with), over the choice in the settings.</translation>
    </message>
    <message>
        <source>--lang is given twice.</source>
        <translation>--lang is given twice.</translation>
    </message>
    <message>
        <source>--lang takes &quot;en&quot; or &quot;original&quot;.</source>
        <translation>--lang takes &quot;en&quot; or &quot;original&quot;.</translation>
    </message>
    <message>
        <source>The FullFlash (*.fls, *.bin) to open at start, or a patch (*.vkp) to show in the patch pane; without it the window opens empty.</source>
        <translation>The FullFlash (*.fls, *.bin) to open at start, or a patch (*.vkp) to show in the patch pane; without it the window opens empty.</translation>
    </message>
    <message>
        <source>Vorlix Editor: lists and shows the pictures of a Siemens phone&apos;s firmware
(C55 and its neighbours: S45, S45i, ME45, CF62, SL45i, A50, A52, C35, M55, S55,
C60, MC60), replaces them with BMP or PNG files and makes a V_Klay patch (*.vkp)
for a flasher. The FullFlash file itself is never written.</source>
        <translation>Vorlix Editor: lists and shows the pictures of a Siemens phone&apos;s firmware
(C55 and its neighbours: S45, S45i, ME45, CF62, SL45i, A50, A52, C35, M55, S55,
C60, MC60), replaces them with BMP or PNG files and makes a V_Klay patch (*.vkp)
for a flasher. The FullFlash file itself is never written.</translation>
    </message>
</context>
<context>
    <name>FlashNotices</name>
    <message>
        <source>Не удалось открыть файл «%1»: такого файла нет.</source>
        <translation>Could not open the file “%1”: there is no such file.</translation>
    </message>
    <message>
        <source>«%1» — это папка, а не файл FullFlash.</source>
        <translation>“%1” is a folder, not a FullFlash file.</translation>
    </message>
    <message>
        <source>«%1» — не обычный файл, FullFlash из него не читается.</source>
        <translation>“%1” is not a regular file; no FullFlash can be read from it.</translation>
    </message>
    <message>
        <source>Не удалось открыть файл «%1»: нет прав на его чтение.</source>
        <translation>Could not open the file “%1”: no permission to read it.</translation>
    </message>
    <message>
        <source>Файл «%1» пуст: в нём нет ни одного байта FullFlash.</source>
        <translation>The file “%1” is empty: it holds not a single byte of a FullFlash.</translation>
    </message>
    <message>
        <source>Не удалось открыть файл «%1»: %2</source>
        <translation>Could not open the file “%1”: %2</translation>
    </message>
    <message>
        <source>Файл «%1» (%2) не помещается в образ целиком: используются только его первые %3, остальное не читается.</source>
        <translation>The file “%1” (%2) does not fit into the image whole: only its first %3 are used, the rest is not read.</translation>
    </message>
    <message>
        <source>Действуют общие настройки (All).</source>
        <translation>The general settings (All) are in force.</translation>
    </message>
    <message>
        <source>Действуют настройки %1, открытой до этого прошивки.</source>
        <translation>The settings of %1, the firmware opened before, are in force.</translation>
    </message>
    <message>
        <source>Прошивка не опознана: блок сведений о сборке не найден, модель и версия не определены. </source>
        <translation>Firmware not recognised: no build information block was found, so the model and version are unknown. </translation>
    </message>
    <message>
        <source>поиск по PIT-записям в диапазоне %1–%2</source>
        <translation>search by PIT records in the range %1–%2</translation>
    </message>
    <message>
        <source>поиск по таблицам: sPIT %1, ExtPIT %2</source>
        <translation>search by tables: sPIT %1, ExtPIT %2</translation>
    </message>
    <message>
        <source>не найден</source>
        <translation>not found</translation>
    </message>
    <message>
        <source>нет</source>
        <translation>none</translation>
    </message>
    <message>
        <source>общие настройки (All)</source>
        <translation>the general settings (All)</translation>
    </message>
    <message>
        <source>настройки модели %1</source>
        <translation>the settings of the model %1</translation>
    </message>
    <message>
        <source>Картинки не найдены. Проверьте %1 %2 (%3).</source>
        <translation>No pictures found. Check %1 %2 (%3).</translation>
    </message>
    <message>
        <source>%1 МиБ</source>
        <translation>%1 MiB</translation>
    </message>
    <message numerus="yes">
        <source>%1 байт</source>
        <translation>
            <numerusform>%1 byte</numerusform>
            <numerusform>%1 bytes</numerusform>
        </translation>
    </message>
    <message>
        <source>Файл «%1» (%2) короче флэш-памяти прошивки (%3): не хватает %4. Новые данные не размещаются за концом файла.</source>
        <translation>The file “%1” (%2) is shorter than the firmware&apos;s flash (%3): %4 are missing. New data is never placed past the file&apos;s end.</translation>
    </message>
    <message>
        <source>Файл «%1» (%2) длиннее дампа %3 (%4): последние %5 не используются.</source>
        <translation>The file “%1” (%2) is longer than a dump of the %3 (%4): its last %5 are not used.</translation>
    </message>
    <message>
        <source>Настройки для данной модели и версии прошивки (%1) не найдены: взяты значения известной модели %2 (начало FullFlash %3, картинки до %4×%5), адреса охватывают весь файл.</source>
        <translation>No settings were found for this model and firmware version (%1): the values of the known model %2 were taken (FullFlash start %3, pictures up to %4×%5), with addresses covering the whole file.</translation>
    </message>
</context>
<context>
    <name>InstalledPatches</name>
    <message>
        <source>строка %1, адрес %2: ожидались байты %3, в образе %4</source>
        <translation>line %1, address %2: expected the bytes %3, the image holds %4</translation>
    </message>
    <message>
        <source> (новые байты этой записи: патч применён лишь частично?)</source>
        <translation> (the new bytes of this record: is the patch only partly applied?)</translation>
    </message>
    <message>
        <source>Установленные патчи</source>
        <translation>Installed patches</translation>
    </message>
    <message>
        <source>Пропустить этот патч и продолжить? «Нет» отменяет открытие.</source>
        <translation>Skip this patch and go on? “No” cancels the opening.</translation>
    </message>
    <message>
        <source>Открытие отменено</source>
        <translation>Opening cancelled</translation>
    </message>
    <message>
        <source>Патч «%1» не прочитан:
%2</source>
        <translation>The patch “%1” could not be read:
%2</translation>
    </message>
    <message>
        <source>Наложение установленных патчей</source>
        <translation>Applying the installed patches</translation>
    </message>
    <message>
        <source>выключен</source>
        <translation>off</translation>
    </message>
    <message>
        <source>уже в дампе</source>
        <translation>already in the dump</translation>
    </message>
    <message>
        <source>применён</source>
        <translation>applied</translation>
    </message>
    <message>
        <source>пропущен</source>
        <translation>skipped</translation>
    </message>
    <message>
        <source>ошибка</source>
        <translation>error</translation>
    </message>
    <message>
        <source>Патч «%1» не подходит к этому FullFlash:
%2</source>
        <translation>The patch “%1” does not fit this FullFlash:
%2</translation>
    </message>
</context>
<context>
    <name>LostPictures</name>
    <message>
        <source>№%1 (PIT %2)</source>
        <translation>No. %1 (PIT %2)</translation>
    </message>
    <message>
        <source>После применения патча программа не найдёт в прошивке эти картинки, строк в списке станет меньше на %1: %2.</source>
        <translation>Once the patch is applied, the program will not find these pictures in the firmware, and the list will have %1 rows fewer: %2.</translation>
    </message>
</context>
<context>
    <name>NameList</name>
    <message>
        <source>и ещё %1</source>
        <translation>and %1 more</translation>
    </message>
</context>
<context>
    <name>OpenFlash</name>
    <message>
        <source>Открытие FullFlash</source>
        <translation>Opening the FullFlash</translation>
    </message>
    <message>
        <source>Определение версии прошивки</source>
        <translation>Identifying the firmware version</translation>
    </message>
    <message>
        <source>Загрузка данных</source>
        <translation>Loading the data</translation>
    </message>
    <message>
        <source>Определение настроек</source>
        <translation>Determining the settings</translation>
    </message>
    <message>
        <source>Поиск PIT и ExtPIT</source>
        <translation>Searching for the PIT and ExtPIT</translation>
    </message>
    <message>
        <source>Начало FullFlash %1 лежит вне адресного пространства 000000..1FFFFFF</source>
        <translation>The FullFlash start %1 lies outside the address space 000000..1FFFFFF</translation>
    </message>
</context>
<context>
    <name>PatchApply</name>
    <message>
        <source>строка %1: %2</source>
        <translation>line %1: %2</translation>
    </message>
    <message>
        <source>«%1», строка %2: %3</source>
        <translation>“%1”, line %2: %3</translation>
    </message>
    <message>
        <source>«%1»: %2</source>
        <translation>“%1”: %2</translation>
    </message>
    <message>
        <source>нет данных патча</source>
        <translation>no patch data</translation>
    </message>
    <message>
        <source>данные выходят за пределы образа</source>
        <translation>the data lie outside the image</translation>
    </message>
    <message>
        <source>у записи нет данных отката: откатить этот файл нельзя</source>
        <translation>the record has no old data: this file cannot be undone</translation>
    </message>
    <message>
        <source>записи без данных отката (%1) будут записаны без проверки; строки %2</source>
        <translation>records without old data (%1) will be written unchecked; lines %2</translation>
    </message>
    <message>
        <source>Патч уже откачен</source>
        <translation>Patch already undone</translation>
    </message>
    <message>
        <source>Патч уже применён</source>
        <translation>Patch already applied</translation>
    </message>
    <message>
        <source>Все записи уже содержат данные отката: похоже, патч уже откачен или не применялся. Откатить его ещё раз?</source>
        <translation>Every record holds its old data already: the patch seems to be undone already, or was never applied. Undo it again?</translation>
    </message>
    <message>
        <source>Все записи уже содержат новые данные: похоже, патч уже применён. Применить его ещё раз?</source>
        <translation>Every record holds its new data already: the patch seems to be applied already. Apply it again?</translation>
    </message>
    <message>
        <source>Данные патча не совпадают. Откатывать патч?</source>
        <translation>The patch data do not match. Undo the patch?</translation>
    </message>
    <message>
        <source>строка %1, столбец %2: %3</source>
        <translation>line %1, column %2: %3</translation>
    </message>
    <message>
        <source>«%1», строка %2, столбец %3: %4</source>
        <translation>“%1”, line %2, column %3: %4</translation>
    </message>
    <message>
        <source>… и ещё %1</source>
        <translation>… and %1 more</translation>
    </message>
    <message>
        <source>Данные патча и данные для отката имеют различную длину</source>
        <translation>The patch data and the old data differ in length</translation>
    </message>
    <message>
        <source>Данные отката не совпадают. Применять патч?</source>
        <translation>The old data do not match. Apply the patch?</translation>
    </message>
</context>
<context>
    <name>PatchConflicts</name>
    <message>
        <source>патч уже есть в дампе</source>
        <translation>the patch is in the dump already</translation>
    </message>
    <message>
        <source>пересекается с %1: байт %2</source>
        <translation>overlaps %1: byte %2</translation>
    </message>
    <message>
        <source>пересекается с %1: байты %2-%3</source>
        <translation>overlaps %1: bytes %2-%3</translation>
    </message>
    <message>
        <source>данные отката не совпадают: по адресу %1 в патче %2, в образе %3</source>
        <translation>old data do not match: at address %1 the patch has %2, the image %3</translation>
    </message>
    <message>
        <source>«%1»</source>
        <translation>“%1”</translation>
    </message>
    <message>
        <source>строка %1</source>
        <translation>line %1</translation>
    </message>
    <message>
        <source>«%1», строка %2</source>
        <translation>“%1”, line %2</translation>
    </message>
</context>
<context>
    <name>PatchFile</name>
    <message>
        <source>Создание нового патча</source>
        <translation>New patch</translation>
    </message>
    <message>
        <source>Данные текущего патча будуь утеряны. Продолжить?</source>
        <translation>The data of the current patch will be lost. Continue?</translation>
    </message>
    <message>
        <source>Не удалось записать файл &quot;%1&quot;: %2</source>
        <translation>Could not write the file &quot;%1&quot;: %2</translation>
    </message>
</context>
<context>
    <name>Picture</name>
    <message>
        <source>Изображение «%1» имеет размер %2×%3 точек, а ширина и высота картинки не могут превышать %4 точек.</source>
        <translation>The image “%1” is %2×%3 pixels, but a picture can be at most %4 pixels wide and high.</translation>
    </message>
    <message>
        <source>Не удалось прочитать изображение из файла «%1»: %2</source>
        <translation>Could not read an image from the file “%1”: %2</translation>
    </message>
    <message>
        <source>Изображение в файле «%1» не содержит ни одной точки.</source>
        <translation>The image in the file “%1” has no pixels.</translation>
    </message>
    <message>
        <source>Изображение не содержит ни одной точки.</source>
        <translation>The image has no pixels.</translation>
    </message>
    <message>
        <source>Изображение имеет размер %1×%2 точек, а ширина и высота картинки не могут превышать %3 точек.</source>
        <translation>The image is %1×%2 pixels, but a picture can be at most %3 pixels wide and high.</translation>
    </message>
    <message>
        <source>Картинка не имеет ни одной точки, файл «%1» не записан.</source>
        <translation>The picture has no pixels; the file “%1” was not written.</translation>
    </message>
    <message>
        <source>Не удалось записать файл «%1»: %2</source>
        <translation>Could not write the file “%1”: %2</translation>
    </message>
</context>
<context>
    <name>PictureList</name>
    <message>
        <source>№</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>Compressed</source>
        <translation>Compressed</translation>
    </message>
    <message>
        <source>Depth</source>
        <translation>Depth</translation>
    </message>
    <message>
        <source>X</source>
        <translation>X</translation>
    </message>
    <message>
        <source>Y</source>
        <translation>Y</translation>
    </message>
    <message>
        <source>PIT</source>
        <translation>PIT</translation>
    </message>
    <message>
        <source>Data</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>Length</source>
        <translation>Length</translation>
    </message>
    <message>
        <source>Modifyed</source>
        <translation>Modified</translation>
    </message>
</context>
<context>
    <name>PlacementArea</name>
    <message>
        <source>Размещение: %1 (весь файл, не проверено)</source>
        <translation>Placement: %1 (the whole file, not checked)</translation>
    </message>
    <message>
        <source>Размещение: %1</source>
        <translation>Placement: %1</translation>
    </message>
    <message>
        <source>Подтверждение области размещения</source>
        <translation>Confirm the placement area</translation>
    </message>
    <message>
        <source>Область размещения новых данных (%1) охватывает весь файл: это значения, которые получает прошивка, открытая впервые, и их ещё никто не проверял. Байты 0xFF в дампе не всегда свободны в телефоне: там может быть код, сведения о сборке или файловая система.
Новые данные картинок будут размещены в первом свободном месте области %1. Размещать их там?

«Нет» — ничего не менять; область задаётся в настройках («Размещать патчи с … по …»).</source>
        <translation>The placement area for new data (%1) takes in the whole file: these are the values a firmware opened for the first time gets, and nobody has checked them yet. Bytes that read 0xFF in a dump are not always free on the phone: code, build information or the file system may lie there.
New picture data will be placed in the first free space of the area %1. Place it there?

&quot;No&quot; changes nothing; the area is set in the settings (&quot;Place patches from … to …&quot;).</translation>
    </message>
</context>
<context>
    <name>Prompt</name>
    <message>
        <source>Ошибка</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Предупреждение</source>
        <translation>Warning</translation>
    </message>
</context>
<context>
    <name>ReplacementSize</name>
    <message>
        <source>После применения патча программа не найдёт в прошивке картинку больше наибольшего размера: в списке станет на одну строку меньше.</source>
        <translation>Once the patch is applied, the program will not find a picture larger than the largest size in the firmware: the list will have one row less.</translation>
    </message>
    <message>
        <source>Подтверждение замены картинки</source>
        <translation>Confirm the picture replacement</translation>
    </message>
    <message>
        <source>Картинка в буфере обмена имеет размер %1, а наибольший размер картинки для этой модели — %2.</source>
        <translation>The picture on the clipboard is %1, but the largest picture size for this model is %2.</translation>
    </message>
    <message>
        <source>Картинка в файле «%1» имеет размер %2, а наибольший размер картинки для этой модели — %3.</source>
        <translation>The picture in the file “%1” is %2, but the largest picture size for this model is %3.</translation>
    </message>
    <message>
        <source>Сейчас картинка имеет размер %1.</source>
        <translation>The picture is %1 now.</translation>
    </message>
    <message>
        <source>Картинка в буфере обмена имеет размер %1, а заменяемая картинка — %2.
Телефон рисует большинство картинок в отведённом им месте экрана.</source>
        <translation>The picture on the clipboard is %1, the picture it replaces %2.
The phone draws most pictures into a place of the screen set aside for them.</translation>
    </message>
    <message>
        <source>Картинка в файле «%1» имеет размер %2, а заменяемая картинка — %3.
Телефон рисует большинство картинок в отведённом им месте экрана.</source>
        <translation>The picture in the file “%1” is %2, the picture it replaces %3.
The phone draws most pictures into a place of the screen set aside for them.</translation>
    </message>
    <message>
        <source>Заменить картинку?</source>
        <translation>Replace the picture?</translation>
    </message>
    <message>
        <source>%1: %2 вместо %3</source>
        <translation>%1: %2 instead of %3</translation>
    </message>
    <message>
        <source>, больше наибольшего %1</source>
        <translation>, larger than the largest %1</translation>
    </message>
    <message>
        <source>и ещё файлов: %1</source>
        <translation>more files: %1</translation>
    </message>
    <message>
        <source>Размер картинок в этих файлах не подходит:</source>
        <translation>The picture size in these files does not fit:</translation>
    </message>
    <message>
        <source>«Да» — заменить все картинки, «Нет» — пропустить эти файлы, «Отмена» — не заменять ничего.</source>
        <translation>“Yes” replaces all the pictures, “No” passes over these files, “Cancel” replaces nothing.</translation>
    </message>
    <message>
        <source>Размер картинки изменён: %1 → %2</source>
        <translation>Picture size changed: %1 → %2</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>&apos;%1&apos; is not a valid integer value</source>
        <translation>&apos;%1&apos; is not a valid integer value</translation>
    </message>
    <message>
        <source>Контроль версий</source>
        <translation>Version check</translation>
    </message>
    <message>
        <source>На данном компьюетере уже запускалась более новая версия программы.
Отключить это предупреждение?</source>
        <translation>A newer version of the program has already run on this computer.
Turn this warning off?</translation>
    </message>
    <message>
        <source>Настройки для данной модели и версии прошивки не найдены.
Будут загружены общие настройки.</source>
        <translation>No settings were found for this model and firmware version.
The general settings will be loaded.</translation>
    </message>
    <message>
        <source>Failed to set data for &apos;%1&apos;</source>
        <translation>Failed to set data for &apos;%1&apos;</translation>
    </message>
</context>
<context>
    <name>VkpReader</name>
    <message>
        <source>это документ RTF: сохраните его как обычный текст и откройте снова</source>
        <translation>this is an RTF document: save it as plain text and open it again</translation>
    </message>
    <message>
        <source>слишком много ошибок; дальше файл не читался</source>
        <translation>too many errors; the rest of the file was not read</translation>
    </message>
    <message>
        <source>слишком много предупреждений; остальные не показаны</source>
        <translation>too many warnings; the others are not shown</translation>
    </message>
    <message>
        <source>«*/» без открывающего «/*»</source>
        <translation>“*/” without an opening “/*”</translation>
    </message>
    <message>
        <source>комментарий «/*» не закрыт до конца файла</source>
        <translation>the comment “/*” is not closed before the end of the file</translation>
    </message>
    <message>
        <source>лишний текст в конце строки</source>
        <translation>stray text at the end of the line</translation>
    </message>
    <message>
        <source>непонятная строка: ожидается адрес, смещение, #pragma или комментарий</source>
        <translation>line not understood: an address, an offset, #pragma or a comment is expected</translation>
    </message>
    <message>
        <source>ожидается «#pragma enable ИМЯ» или «#pragma disable ИМЯ»</source>
        <translation>“#pragma enable NAME” or “#pragma disable NAME” is expected</translation>
    </message>
    <message>
        <source>неизвестная директива «%1»</source>
        <translation>unknown directive “%1”</translation>
    </message>
    <message>
        <source>после «%1» ожидается смещение: до 8 шестнадцатеричных цифр</source>
        <translation>an offset is expected after “%1”: up to 8 hexadecimal digits</translation>
    </message>
    <message>
        <source>адрес длиннее 8 шестнадцатеричных цифр</source>
        <translation>the address is longer than 8 hexadecimal digits</translation>
    </message>
    <message>
        <source>ожидается шестнадцатеричный адрес</source>
        <translation>a hexadecimal address is expected</translation>
    </message>
    <message>
        <source>после адреса ожидается двоеточие</source>
        <translation>a colon is expected after the address</translation>
    </message>
    <message>
        <source>после адреса нет данных; строка пропущена</source>
        <translation>no data after the address; line skipped</translation>
    </message>
    <message>
        <source>пустые данные</source>
        <translation>empty data</translation>
    </message>
    <message>
        <source>адрес со смещением выходит за пределы 0…FFFFFFFF</source>
        <translation>the address with its offset lies outside 0…FFFFFFFF</translation>
    </message>
    <message>
        <source>данные записи выходят за адрес FFFFFFFF</source>
        <translation>the record&apos;s data go past the address FFFFFFFF</translation>
    </message>
    <message>
        <source>между числом и следующими данными нужна запятая</source>
        <translation>a comma is needed between a number and the data after it</translation>
    </message>
    <message>
        <source>заполнитель «%1» вместо данных: это шаблон, а не готовый патч</source>
        <translation>the placeholder “%1” instead of data: this is a template, not a finished patch</translation>
    </message>
    <message>
        <source>недопустимый символ «%1» в данных</source>
        <translation>invalid character “%1” in the data</translation>
    </message>
    <message>
        <source>между данными и числом «0%1…» нужна запятая</source>
        <translation>a comma is needed between the data and the number “0%1…”</translation>
    </message>
    <message>
        <source>нечётное число шестнадцатеричных цифр</source>
        <translation>an odd number of hexadecimal digits</translation>
    </message>
    <message>
        <source>после 0x нужно от 1 до 8 шестнадцатеричных цифр</source>
        <translation>0x must be followed by 1 to 8 hexadecimal digits</translation>
    </message>
    <message>
        <source>после 0n нужно от 1 до 32 двоичных цифр</source>
        <translation>0n must be followed by 1 to 32 binary digits</translation>
    </message>
    <message>
        <source>после 0i нужны десятичные цифры</source>
        <translation>0i must be followed by decimal digits</translation>
    </message>
    <message>
        <source>%1: неверное число цифр (нужно 1–3, 5, 8, 10, 13, 15, 17 или 20; дополните нулями)</source>
        <translation>%1: wrong number of digits (1–3, 5, 8, 10, 13, 15, 17 or 20 are needed; pad with zeros)</translation>
    </message>
    <message>
        <source>%1 вне пределов %2</source>
        <translation>%1 is outside %2</translation>
    </message>
    <message>
        <source>кавычка не закрыта до конца строки</source>
        <translation>the quote is not closed before the end of the line</translation>
    </message>
    <message>
        <source>«%1» в строке нужно записать через \/ или \*</source>
        <translation>“%1” in a string must be written as \/ or \*</translation>
    </message>
    <message>
        <source>символа «%1» нет в кодировке Windows-1251</source>
        <translation>the character “%1” is not in the Windows-1251 code page</translation>
    </message>
    <message>
        <source>после «\%1» нужно %2 шестнадцатеричные цифры</source>
        <translation>“\%1” must be followed by %2 hexadecimal digits</translation>
    </message>
    <message>
        <source>«%1» в строке &quot;…&quot;: допустимы только значения ниже \x7F</source>
        <translation>“%1” in a &quot;…&quot; string: only values below \x7F are allowed</translation>
    </message>
    <message>
        <source>«%1»: восьмеричное значение больше 0xFF</source>
        <translation>“%1”: octal value greater than 0xFF</translation>
    </message>
    <message>
        <source>неизвестная последовательность «\%1»</source>
        <translation>unknown escape sequence “\%1”</translation>
    </message>
    <message>
        <source>Не удалось прочитать файл &quot;%1&quot;: %2</source>
        <translation>Could not read the file &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>Файл &quot;%1&quot; слишком велик для патча: %2 МиБ (не больше %3 МиБ)</source>
        <translation>The file &quot;%1&quot; is too large for a patch: %2 MiB (at most %3 MiB)</translation>
    </message>
    <message>
        <source>пустые данные: по этому адресу ничего не записывается</source>
        <translation>empty data: nothing is written at this address</translation>
    </message>
</context>
<context>
    <name>WholeImage</name>
    <message>
        <source>Всего %1 картинок, из них %2 в PIT и %3 в ExtPIT</source>
        <translation>Pictures: %1 (PIT %2, ExtPIT %3)</translation>
    </message>
</context>
<context>
    <name>vorlix::ConflictReportDialog</name>
    <message>
        <source>Проверка конфликтов патчей</source>
        <translation>Patch conflict check</translation>
    </message>
    <message>
        <source>Копировать всё</source>
        <translation>Copy all</translation>
    </message>
    <message>
        <source>Скопировать весь список в буфер обмена (Ctrl+C копирует выделенные строки)</source>
        <translation>Copy the whole list to the clipboard (Ctrl+C copies the selected lines)</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>vorlix::EditingState</name>
    <message>
        <source>старые байты записи не те, что в прошивке: патч не применяется</source>
        <translation>the record&apos;s old bytes are not those of the firmware: the patch does not apply</translation>
    </message>
    <message>
        <source>после патча картинка не та, что в окне</source>
        <translation>after the patch the picture is not the one the window shows</translation>
    </message>
    <message>
        <source>и ещё %1</source>
        <translation>and %1 more</translation>
    </message>
    <message>
        <source>строка %1: </source>
        <translation>line %1: </translation>
    </message>
    <message>
        <source>картинка %1: </source>
        <translation>picture %1: </translation>
    </message>
    <message>
        <source>замена картинки %1</source>
        <translation>replacement of picture %1</translation>
    </message>
    <message>
        <source>возврат картинки %1</source>
        <translation>revert of picture %1</translation>
    </message>
    <message>
        <source>возврат картинок: %1</source>
        <translation>revert of pictures: %1</translation>
    </message>
    <message>
        <source>Создание патча</source>
        <translation>Making the patch</translation>
    </message>
    <message>
        <source>Текст патча изменён вручную и не сохранён. Заменить его патчем картинок? Если нет, текст остаётся как есть.</source>
        <translation>The patch text was edited by hand and is not saved. Replace it by the patch of the pictures? If not, the text stays as it is.</translation>
    </message>
    <message>
        <source>Проверка патча</source>
        <translation>Patch check</translation>
    </message>
    <message>
        <source>Патч не даёт те картинки, что показывает окно:
%1
Сохранить его всё равно?</source>
        <translation>The patch does not give the pictures the window shows:
%1
Save it all the same?</translation>
    </message>
    <message>
        <source>Изменённых картинок, которых нет ни в одном сохранённом патче: %1.</source>
        <translation>Modified pictures that are in no saved patch: %1.</translation>
    </message>
    <message>
        <source>Текст патча не сохранён.</source>
        <translation>The patch text is not saved.</translation>
    </message>
    <message>
        <source>Сохранить патч перед этим? «Да» — сохранить, «Нет» — продолжить без сохранения, «Отмена» — вернуться.</source>
        <translation>Save the patch first? “Yes” saves it, “No” goes on without saving, “Cancel” goes back.</translation>
    </message>
</context>
<context>
    <name>vorlix::InstalledPatchesDialog</name>
    <message>
        <source>Установленные патчи — %1</source>
        <translation>Installed patches — %1</translation>
    </message>
    <message>
        <source>Патчи, которые уже прошиты в телефон, в порядке прошивки. Открытие FullFlash накладывает включённые патчи на образ: картинки видны такими, как на телефоне, новые данные не занимают байты патчей, а новый патч ставится после них. Файлы .vkp можно перетащить сюда.</source>
        <translation>The patches already flashed into the phone, in the order they were flashed. Opening the FullFlash applies the patches that are on to the image: the pictures show as the phone shows them, new data never take the patches&apos; bytes, and a new patch goes on after them. .vkp files can be dropped here.</translation>
    </message>
    <message>
        <source>Патч</source>
        <translation>Patch</translation>
    </message>
    <message>
        <source>Состояние</source>
        <translation>State</translation>
    </message>
    <message>
        <source>Записей</source>
        <translation>Records</translation>
    </message>
    <message>
        <source>Галочка включает патч; выключенный патч не накладывается</source>
        <translation>The tick switches a patch on; a patch that is off is not applied</translation>
    </message>
    <message>
        <source>Добавить…</source>
        <translation>Add…</translation>
    </message>
    <message>
        <source>Добавить файлы патчей в конец списка</source>
        <translation>Add patch files at the end of the list</translation>
    </message>
    <message>
        <source>Удалить</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>Убрать патч из списка</source>
        <translation>Take the patch off the list</translation>
    </message>
    <message>
        <source>Вверх</source>
        <translation>Up</translation>
    </message>
    <message>
        <source>Патч прошит раньше</source>
        <translation>The patch was flashed earlier</translation>
    </message>
    <message>
        <source>Вниз</source>
        <translation>Down</translation>
    </message>
    <message>
        <source>Патч прошит позже</source>
        <translation>The patch was flashed later</translation>
    </message>
    <message>
        <source>Проверить…</source>
        <translation>Check…</translation>
    </message>
    <message>
        <source>Проверить включённые патчи и текст патча в панели на конфликты: пересекающиеся записи, несовпадающие данные отката, патчи, которые уже есть в дампе</source>
        <translation>Check the patches that are on and the text of the patch pane for conflicts: overlapping records, old data that do not match, patches already in the dump</translation>
    </message>
    <message>
        <source>ОК</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Состояние станет известно при следующем открытии</source>
        <translation>The state becomes known at the next open</translation>
    </message>
</context>
<context>
    <name>vorlix::ModelChoiceDialog</name>
    <message>
        <source>Прошивка не опознана: блок сведений о сборке не найден, модель и версия не определены.</source>
        <translation>Firmware not recognised: no build information block was found, so the model and version are unknown.</translation>
    </message>
    <message>
        <source>Настройки для данной модели и версии прошивки (%1) не найдены.</source>
        <translation>No settings were found for this model and firmware version (%1).</translation>
    </message>
    <message>
        <source>Если это дамп одной из этих моделей, выберите её: начало FullFlash и размеры картинок будут взяты из таблицы известных моделей.</source>
        <translation>If this is a dump of one of these models, choose it: the FullFlash start and the picture sizes will be taken from the table of known models.</translation>
    </message>
    <message>
        <source>Ни одна из них (общие настройки)</source>
        <translation>None of these (the general settings)</translation>
    </message>
    <message>
        <source>Ни одна из них (будут загружены общие настройки)</source>
        <translation>None of these (the general settings will be loaded)</translation>
    </message>
</context>
<context>
    <name>vorlix::PixelViewer</name>
    <message>
        <source>Просмотр по пикселям</source>
        <translation>Pixel viewer</translation>
    </message>
    <message>
        <source>Масштаб: колесо мыши над картинкой, клавиши «+» и «−»</source>
        <translation>Zoom: the mouse wheel over a picture, the “+” and “−” keys</translation>
    </message>
    <message>
        <source>Сетка</source>
        <translation>Grid</translation>
    </message>
    <message>
        <source>Линии между пикселями (от 4× и крупнее)</source>
        <translation>Lines between the pixels (from 4× up)</translation>
    </message>
    <message>
        <source>Масштаб:</source>
        <translation>Zoom:</translation>
    </message>
    <message>
        <source>Старое изображение</source>
        <translation>Old image</translation>
    </message>
    <message>
        <source>Новое изображение</source>
        <translation>New image</translation>
    </message>
    <message>
        <source>Просмотр по пикселям: № %1, PIT %2</source>
        <translation>Pixel viewer: No. %1, PIT %2</translation>
    </message>
    <message>
        <source>Выберите картинку в списке или в галерее</source>
        <translation>Choose a picture in the list or in the gallery</translation>
    </message>
    <message>
        <source>Наведите указатель на пиксель</source>
        <translation>Point at a pixel</translation>
    </message>
    <message>
        <source>x: %1, y: %2
Старое: %3
Новое: %4</source>
        <translation>x: %1, y: %2
Old: %3
New: %4</translation>
    </message>
    <message>
        <source>вне картинки</source>
        <translation>outside the picture</translation>
    </message>
    <message>
        <source>нет данных</source>
        <translation>no data</translation>
    </message>
    <message>
        <source>индекс %1</source>
        <translation>index %1</translation>
    </message>
    <message>
        <source>%1, RGB(%2, %3, %4)</source>
        <translation>%1, RGB(%2, %3, %4)</translation>
    </message>
</context>
<context>
    <name>vorlix::TForm1</name>
    <message>
        <source>Недавно открытые файлы</source>
        <translation>Recently opened files</translation>
    </message>
    <message>
        <source>Откатить патч</source>
        <translation>Undo a patch</translation>
    </message>
    <message>
        <source>Подтверждение открытия</source>
        <translation>Confirm open</translation>
    </message>
    <message>
        <source>Открытие отменено</source>
        <translation>Opening cancelled</translation>
    </message>
    <message>
        <source>FullFlash не открыт</source>
        <translation>No FullFlash open</translation>
    </message>
    <message>
        <source>кнопкой «%1»</source>
        <translation>with the “%1” button</translation>
    </message>
    <message>
        <source>Для новых данных картинки не нашлось места: картинка не изменена</source>
        <translation>No room was found for the picture&apos;s new data: the picture is unchanged</translation>
    </message>
    <message>
        <source>Картинка не заменена</source>
        <translation>Picture not replaced</translation>
    </message>
    <message>
        <source>Не выбрана ни одна картинка</source>
        <translation>No picture selected</translation>
    </message>
    <message>
        <source>Подтверждение замены</source>
        <translation>Confirm replace</translation>
    </message>
    <message>
        <source>Файл «%1» уже существует. Заменить его?</source>
        <translation>The file “%1” exists already. Replace it?</translation>
    </message>
    <message>
        <source>Сжатие 2-битных картинок не поддерживается: картинка сохранена без сжатия</source>
        <translation>2-bit pictures cannot be compressed: the picture is stored uncompressed</translation>
    </message>
    <message>
        <source>глубина картинки %1</source>
        <translation>depth of picture %1</translation>
    </message>
    <message>
        <source>Пакетная загрузка отменена: ни одна картинка не заменена</source>
        <translation>Batch load cancelled: no picture replaced</translation>
    </message>
    <message>
        <source>пакетная загрузка</source>
        <translation>batch load</translation>
    </message>
    <message>
        <source>Среди выделенных строк нет изменённых картинок: патч не создан</source>
        <translation>No modified picture among the selected rows: no patch made</translation>
    </message>
    <message>
        <source>Нет изменённых картинок: патч не создан</source>
        <translation>No modified pictures: no patch made</translation>
    </message>
    <message>
        <source>В патч вошло картинок: %1</source>
        <translation>Pictures in the patch: %1</translation>
    </message>
    <message>
        <source>Патч пуст: копировать нечего</source>
        <translation>The patch is empty: nothing to copy</translation>
    </message>
    <message>
        <source>Патч пуст: сохранять нечего</source>
        <translation>The patch is empty: nothing to save</translation>
    </message>
    <message>
        <source>Применено патчей: %1, записей: %2</source>
        <translation>Patches applied: %1, records: %2</translation>
    </message>
    <message>
        <source>Откачено патчей: %1, записей: %2</source>
        <translation>Patches undone: %1, records: %2</translation>
    </message>
    <message>
        <source>Отменить</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>Отменить последнюю правку картинок</source>
        <translation>Undo the last edit of the pictures</translation>
    </message>
    <message>
        <source>Повторить</source>
        <translation>Redo</translation>
    </message>
    <message>
        <source>Повторить отменённую правку картинок</source>
        <translation>Redo the edit of the pictures undone</translation>
    </message>
    <message>
        <source>Вернуть исходную</source>
        <translation>Revert</translation>
    </message>
    <message>
        <source>Вернуть выделенным картинкам то, что хранит прошивка</source>
        <translation>Give the selected pictures back what the firmware holds</translation>
    </message>
    <message>
        <source>Вернуть все</source>
        <translation>Revert all</translation>
    </message>
    <message>
        <source>Вернуть все изменённые картинки такими, какими их хранит прошивка</source>
        <translation>Take every modified picture back to what the firmware holds</translation>
    </message>
    <message>
        <source>Копировать картинку</source>
        <translation>Copy picture</translation>
    </message>
    <message>
        <source>Копировать новую картинку в буфер обмена</source>
        <translation>Copy the new picture to the clipboard</translation>
    </message>
    <message>
        <source>Вставить картинку</source>
        <translation>Paste picture</translation>
    </message>
    <message>
        <source>Заменить картинку изображением из буфера обмена</source>
        <translation>Replace the picture by the image on the clipboard</translation>
    </message>
    <message>
        <source>Отменять нечего</source>
        <translation>Nothing to undo</translation>
    </message>
    <message>
        <source>Отменено: %1</source>
        <translation>Undone: %1</translation>
    </message>
    <message>
        <source>Повторять нечего</source>
        <translation>Nothing to redo</translation>
    </message>
    <message>
        <source>Повторено: %1</source>
        <translation>Redone: %1</translation>
    </message>
    <message>
        <source>Нет изменённых картинок: возвращать нечего</source>
        <translation>No modified pictures: nothing to revert</translation>
    </message>
    <message>
        <source>Среди выделенных строк нет изменённых картинок: возвращать нечего</source>
        <translation>No modified picture among the selected rows: nothing to revert</translation>
    </message>
    <message>
        <source>Возвращено картинок: %1</source>
        <translation>Pictures reverted: %1</translation>
    </message>
    <message>
        <source>; исходные данные картинок %1 заняты другими изменёнными картинками: верните и их</source>
        <translation>; the original data of the pictures %1 are taken by other modified pictures: revert those too</translation>
    </message>
    <message>
        <source>Картинка %1 скопирована в буфер обмена</source>
        <translation>Picture %1 copied to the clipboard</translation>
    </message>
    <message>
        <source>Буфер обмена</source>
        <translation>Clipboard</translation>
    </message>
    <message>
        <source>В буфере обмена нет картинки</source>
        <translation>No picture on the clipboard</translation>
    </message>
    <message>
        <source>Не картинка, не FullFlash и не патч: %1</source>
        <translation>Neither a picture, nor a FullFlash, nor a patch: %1</translation>
    </message>
    <message>
        <source>Картинку перетаскивают на её строку; несколько файлов загружаются по именам PIT_XXXXXX, как при пакетной загрузке</source>
        <translation>Drop a picture on its row; several files load by their names PIT_XXXXXX, as in a batch load</translation>
    </message>
    <message>
        <source>Патчи</source>
        <translation>Patches</translation>
    </message>
    <message>
        <source>Патчи, уже прошитые в телефон: картинки видны такими, как на телефоне, новый патч не занимает их байты и ставится после них</source>
        <translation>Patches already flashed into the phone: the pictures show as the phone shows them, and a new patch never takes their bytes and goes on after them</translation>
    </message>
    <message>
        <source>Проверить конфликты патчей…</source>
        <translation>Check patch conflicts…</translation>
    </message>
    <message>
        <source>Проверить установленные патчи и текст патча в панели: пересекающиеся записи, несовпадающие данные отката, патчи, которые уже есть в дампе</source>
        <translation>Check the installed patches and the text of the patch pane: overlapping records, old data that do not match, patches already in the dump</translation>
    </message>
    <message>
        <source>Эти патчи уже есть в списке установленных</source>
        <translation>These patches are on the list of installed patches already</translation>
    </message>
    <message>
        <source>Добавлено установленных патчей: %1</source>
        <translation>Installed patches added: %1</translation>
    </message>
    <message>
        <source>Список установленных патчей изменён; он вступит в силу, когда FullFlash будет открыт заново.</source>
        <translation>The list of installed patches has changed; it takes effect when the FullFlash is opened again.</translation>
    </message>
    <message>
        <source>Эта операция уничтожит все изменения.</source>
        <translation>This will throw away every change.</translation>
    </message>
    <message>
        <source>Открыть FullFlash заново сейчас?</source>
        <translation>Open the FullFlash again now?</translation>
    </message>
    <message>
        <source>Установленные патчи</source>
        <translation>Installed patches</translation>
    </message>
    <message>
        <source>Установленные патчи: применено %1, уже в дампе %2, пропущено %3</source>
        <translation>Installed patches: %1 applied, %2 already in the dump, %3 skipped</translation>
    </message>
    <message>
        <source>панель патча</source>
        <translation>patch pane</translation>
    </message>
    <message>
        <source>Проверено патчей: %1. Пересечений: %2, несовпадений данных отката: %3, уже в дампе: %4.</source>
        <translation>Patches checked: %1. Overlaps: %2, old data not matching: %3, already in the dump: %4.</translation>
    </message>
    <message>
        <source>Конфликтов не найдено</source>
        <translation>No conflicts found</translation>
    </message>
    <message>
        <source>Выход</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>Открыть FullFlash</source>
        <translation>Open a FullFlash</translation>
    </message>
    <message>
        <source>Перечитать картинки, отменив все изменения</source>
        <translation>Read the pictures again, throwing away every change</translation>
    </message>
    <message>
        <source>Закрыть FullFlash</source>
        <translation>Close the FullFlash</translation>
    </message>
    <message>
        <source>Подтверждение выхода</source>
        <translation>Confirm quit</translation>
    </message>
    <message>
        <source>Сохранение патча</source>
        <translation>Save the patch</translation>
    </message>
    <message>
        <source>Патч не сохранён. Сохранить его?</source>
        <translation>The patch is not saved. Save it?</translation>
    </message>
    <message>
        <source>Создание нового патча</source>
        <translation>New patch</translation>
    </message>
    <message>
        <source>Вписать</source>
        <translation>Fit</translation>
    </message>
    <message>
        <source>%1×</source>
        <translation>%1×</translation>
    </message>
    <message>
        <source>Масштаб картинок в панелях; «Вписать» — наибольший, при котором картинка помещается. Колесо мыши над панелью тоже меняет его</source>
        <translation>Zoom of the pictures in the panes; “Fit” is the largest at which the picture fits. The mouse wheel over a pane changes it too</translation>
    </message>
    <message>
        <source>Список</source>
        <translation>List</translation>
    </message>
    <message>
        <source>Галерея</source>
        <translation>Gallery</translation>
    </message>
    <message>
        <source>Картинки списком</source>
        <translation>The pictures as a list</translation>
    </message>
    <message>
        <source>Картинки миниатюрами</source>
        <translation>The pictures as thumbnails</translation>
    </message>
    <message>
        <source>Фильтр: PIT, Data, 32x32, 16bit, modified, compressed</source>
        <translation>Filter: PIT, Data, 32x32, 16bit, modified, compressed</translation>
    </message>
    <message>
        <source>Показывать только подходящие строки; несколько слов — все сразу:
часть текста PIT или Data (670010, 5E2),
размер ШxВ (32x32, 101x*),
глубина (16bit),
modified — изменённые, compressed — сжатые.
Номера строк не меняются; команды работают с выделенными строками, как всегда.</source>
        <translation>Show only the rows that match; several words must all match:
part of the PIT or Data text (670010, 5E2),
a size WxH (32x32, 101x*),
a depth (16bit),
modified, compressed.
Row numbers stay; commands act on the selected rows, as always.</translation>
    </message>
    <message>
        <source>%1 пикс.</source>
        <translation>%1 px</translation>
    </message>
    <message>
        <source>Размер миниатюр галереи</source>
        <translation>Size of the gallery&apos;s thumbnails</translation>
    </message>
    <message>
        <source>Просмотр по пикселям</source>
        <translation>Pixel viewer</translation>
    </message>
    <message>
        <source>Просмотр по пикселям: старое и новое изображение крупно, значение и цвет пикселя под указателем (Enter на строке)</source>
        <translation>Pixel viewer: the old and the new image enlarged, the value and colour of the pixel under the pointer (Enter on a row)</translation>
    </message>
    <message>
        <source>%1 из %2</source>
        <translation>%1 of %2</translation>
    </message>
    <message>
        <source>Показано строк: %1 из %2</source>
        <translation>Rows shown: %1 of %2</translation>
    </message>
    <message>
        <source>Vorlix Editor</source>
        <translation>Vorlix Editor</translation>
    </message>
    <message>
        <source>Select &amp;All</source>
        <translation>Select &amp;All</translation>
    </message>
    <message>
        <source>Uložit vkp patch</source>
        <translation>Save vkp patch</translation>
    </message>
    <message>
        <source>Vytvořit vkp patch</source>
        <translation>Create vkp patch</translation>
    </message>
    <message>
        <source>Označit a zkopírovat celý patch(CTRL+A;CTRL+C)</source>
        <translation>Select and copy the whole patch (Ctrl+A; Ctrl+C)</translation>
    </message>
    <message>
        <source>Nový patch</source>
        <translation>New patch</translation>
    </message>
    <message>
        <source>Otevřít a vložit obrázek</source>
        <translation>Open and insert a picture</translation>
    </message>
    <message>
        <source>Uložit obrázek z FF</source>
        <translation>Save the picture from the FF</translation>
    </message>
    <message>
        <source>Пакетная загрузка</source>
        <translation>Batch load</translation>
    </message>
    <message>
        <source>Пакетная загрузка картинок</source>
        <translation>Batch load of pictures</translation>
    </message>
    <message>
        <source>Otevřít FF</source>
        <translation>Open FF</translation>
    </message>
    <message>
        <source>Zavřít FF</source>
        <translation>Close FF</translation>
    </message>
    <message>
        <source>Obnovit FF</source>
        <translation>Reload FF</translation>
    </message>
    <message>
        <source>Nastavení</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Версия прошивки</source>
        <translation>Firmware version</translation>
    </message>
    <message>
        <source>Автоимена при сохранении</source>
        <translation>Automatic names when saving</translation>
    </message>
    <message>
        <source>Патч только для выделенных</source>
        <translation>Patch only the selected rows</translation>
    </message>
    <message>
        <source>Старое изображение</source>
        <translation>Old image</translation>
    </message>
    <message>
        <source>Новое изображение</source>
        <translation>New image</translation>
    </message>
    <message>
        <source>Bitů</source>
        <translation>Bits</translation>
    </message>
    <message>
        <source>Zadej počet bitů</source>
        <translation>Choose the number of bits</translation>
    </message>
    <message>
        <source>1 bit</source>
        <translation>1 bit</translation>
    </message>
    <message>
        <source>2 bit</source>
        <translation>2 bit</translation>
    </message>
    <message>
        <source>8 bit</source>
        <translation>8 bit</translation>
    </message>
    <message>
        <source>12 bit</source>
        <translation>12 bit</translation>
    </message>
    <message>
        <source>16 bit</source>
        <translation>16 bit</translation>
    </message>
    <message>
        <source>Komprimovat obrázek</source>
        <translation>Compress the picture</translation>
    </message>
    <message>
        <source>Пересоздать всю графику</source>
        <translation>Re-create all graphics</translation>
    </message>
    <message>
        <source>Сгенерировать патч</source>
        <translation>Generate the patch</translation>
    </message>
    <message>
        <source>Забить картинки FF</source>
        <translation>Fill the pictures with FF</translation>
    </message>
    <message>
        <source>Vytvořili: </source>
        <translation>Made by: </translation>
    </message>
    <message>
        <source>Editor obrázků firmware</source>
        <translation>Firmware picture editor</translation>
    </message>
    <message>
        <source>pro telefony Siemens</source>
        <translation>for Siemens phones</translation>
    </message>
    <message>
        <source>Применить патч</source>
        <translation>Apply a patch</translation>
    </message>
    <message>
        <source>Full Flash (*.fls; *.bin)|*.fls;*bin|Все файлы (*.*)|*.*</source>
        <translation>Full Flash (*.fls; *.bin)|*.fls;*bin|All files (*.*)|*.*</translation>
    </message>
    <message>
        <source>Подтверждение обновления</source>
        <translation>Confirm reload</translation>
    </message>
    <message>
        <source>Подтверждение закрытия</source>
        <translation>Confirm close</translation>
    </message>
    <message>
        <source>Закрыть этот фуллфлеш?</source>
        <translation>Close this FullFlash?</translation>
    </message>
    <message>
        <source>Поиск картинок</source>
        <translation>Searching for pictures</translation>
    </message>
    <message>
        <source>Bitmap (*.bmp)|*.bmp|PNG (*.png)|*.png|Все файлы (*.*)|*.*</source>
        <translation>Bitmap (*.bmp)|*.bmp|PNG (*.png)|*.png|All files (*.*)|*.*</translation>
    </message>
    <message>
        <source>V_Klay Patch (*.vkp)|*.vkp|Все файлы (*.*)|*.*</source>
        <translation>V_Klay Patch (*.vkp)|*.vkp|All files (*.*)|*.*</translation>
    </message>
    <message>
        <source>Все картинки (%1)</source>
        <translation>All pictures (%1)</translation>
    </message>
    <message>
        <source>Все файлы (*)</source>
        <translation>All files (*)</translation>
    </message>
    <message>
        <source>Отменить ручное именование файлов?</source>
        <translation>Stop naming the files by hand?</translation>
    </message>
    <message>
        <source>Если Вы нажмёте &quot;Да&quot;, то оставшиеся картинки будут сохранены в последней выбранной папке с автоматически назначенным именем.
Если Вы нажмёте &quot;Нет&quot;, то продолжите ручное задание имён для остальных картинок
Если Вы нажмёте &quot;Отмена&quot;, то сохранение будет прервано</source>
        <translation>If you press &quot;Yes&quot;, the remaining pictures are saved in the folder chosen last under automatic names.
If you press &quot;No&quot;, you go on naming the remaining pictures by hand.
If you press &quot;Cancel&quot;, the saving stops.</translation>
    </message>
    <message>
        <source>Пока не поддерживается!</source>
        <translation>Not supported yet!</translation>
    </message>
    <message>
        <source>Поиск картинок завершён</source>
        <translation>Picture search finished</translation>
    </message>
    <message numerus="yes">
        <source>Найдено %n картинок</source>
        <translation>
            <numerusform>%n picture found</numerusform>
            <numerusform>%n pictures found</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Всего %n картинок, из них %1 в PIT и %2 в ExtPIT</source>
        <translation>
            <numerusform>%n picture in all, %1 in PIT and %2 in ExtPIT</numerusform>
            <numerusform>%n pictures in all, %1 in PIT and %2 in ExtPIT</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Сохранено %n картинок в папку «%1»</source>
        <translation>
            <numerusform>%n picture saved in the folder “%1”</numerusform>
            <numerusform>%n pictures saved in the folder “%1”</numerusform>
        </translation>
    </message>
    <message>
        <source>Текст патча создан для другого FullFlash:
%1 (%2).
Начать новый патч? Если нет, в одном патче окажутся строки для двух прошивок.</source>
        <translation>The patch text was made for another FullFlash:
%1 (%2).
Start a new patch? If not, one patch will hold lines for two firmwares.</translation>
    </message>
    <message>
        <source>Патч не создан: текст панели оставлен как есть</source>
        <translation>No patch made: the pane&apos;s text is left as it is</translation>
    </message>
    <message>
        <source>Патч «%1» открыт в панели патча</source>
        <translation>The patch “%1” is open in the patch pane</translation>
    </message>
</context>
<context>
    <name>vorlix::TForm3</name>
    <message>
        <source>Загруженная картинка сохраняет глубину и сжатие</source>
        <translation>A loaded picture keeps its depth and compression</translation>
    </message>
    <message>
        <source>Иначе картинка из файла становится 16-битной сжатой (монохромная — 1-битной)</source>
        <translation>Otherwise a picture from a file becomes 16-bit compressed (a monochrome one 1-bit)</translation>
    </message>
    <message>
        <source>Спрашивать, если размер заменяемой картинки меняется</source>
        <translation>Ask when a replacement changes the picture&apos;s size</translation>
    </message>
    <message>
        <source>Картинку больше наибольшего размера программа не заменяет, не спросив</source>
        <translation>A picture larger than the largest size is never replaced without asking</translation>
    </message>
    <message>
        <source>Подтверждение сброса настроек</source>
        <translation>Confirm the reset of the settings</translation>
    </message>
    <message>
        <source>Настройки</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Настройки модели телефона</source>
        <translation>Phone model settings</translation>
    </message>
    <message>
        <source>Поиск по PIT-структурам</source>
        <translation>Search by PIT structures</translation>
    </message>
    <message>
        <source>Искать с адреса</source>
        <translation>Search from address</translation>
    </message>
    <message>
        <source>по</source>
        <translation>to</translation>
    </message>
    <message>
        <source>Адреса картинок с</source>
        <translation>Picture addresses from</translation>
    </message>
    <message>
        <source>Размещать патчи с</source>
        <translation>Place patches from</translation>
    </message>
    <message>
        <source>Размер по X макс.</source>
        <translation>Largest size in X</translation>
    </message>
    <message>
        <source>по Y</source>
        <translation>in Y</translation>
    </message>
    <message>
        <source>Поиск по таблицам</source>
        <translation>Search by tables</translation>
    </message>
    <message>
        <source>Режим поиска картинок</source>
        <translation>Picture search mode</translation>
    </message>
    <message>
        <source>по таблицам</source>
        <translation>by tables</translation>
    </message>
    <message>
        <source>по PIT-записям</source>
        <translation>by PIT records</translation>
    </message>
    <message>
        <source>Адрес sPIT-структуры</source>
        <translation>Address of the sPIT structure</translation>
    </message>
    <message>
        <source>Адрес начала ExtPIT</source>
        <translation>Start address of ExtPIT</translation>
    </message>
    <message>
        <source>Сброс к общим настройкам</source>
        <translation>Reset to the general settings</translation>
    </message>
    <message>
        <source>Сбросить настройки для данной модели телефона</source>
        <translation>Reset the settings of this phone model</translation>
    </message>
    <message>
        <source>Начало FullFlash</source>
        <translation>FullFlash start</translation>
    </message>
    <message>
        <source>Модель телефона и версия прошивки</source>
        <translation>Phone model and firmware version</translation>
    </message>
    <message>
        <source>Настройки программы</source>
        <translation>Program settings</translation>
    </message>
    <message>
        <source>не разделять PIT и данные</source>
        <translation>do not separate PIT and data</translation>
    </message>
    <message>
        <source>Длина строки патча</source>
        <translation>Patch line length</translation>
    </message>
    <message>
        <source>Имя автора патча</source>
        <translation>Patch author&apos;s name</translation>
    </message>
    <message>
        <source>Исходный</source>
        <translation>Original</translation>
    </message>
    <message>
        <source>Язык надписей и сообщений: «Исходный» — тексты программы такими, как они написаны (сообщения по-русски, часть надписей по-чешски), или английский</source>
        <translation>The language of captions and messages: “Original”, the program&apos;s texts as written (Russian messages, some captions in Czech), or English</translation>
    </message>
    <message>
        <source>(со следующего запуска)</source>
        <translation>(from the next start)</translation>
    </message>
    <message>
        <source>Язык интерфейса</source>
        <translation>Interface language</translation>
    </message>
    <message>
        <source>ОК</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>По умолчанию</source>
        <translation>Defaults</translation>
    </message>
    <message>
        <source>Сбросить настройки программы</source>
        <translation>Reset the program settings</translation>
    </message>
    <message>
        <source>Сбросить настройки в значения по умолчанию?</source>
        <translation>Reset the settings to their default values?</translation>
    </message>
    <message>
        <source>Сбросить настройки в значения по умолчанию для C55?</source>
        <translation>Reset the settings to the default values for the C55?</translation>
    </message>
    <message>
        <source>Из таблицы известных моделей</source>
        <translation>From the table of known models</translation>
    </message>
    <message>
        <source>Из таблицы известных моделей (%1): %2</source>
        <translation>From the table of known models (%1): %2</translation>
    </message>
    <message>
        <source>Не проверено: область — весь файл</source>
        <translation>Not checked: the area is the whole file</translation>
    </message>
    <message>
        <source>Область размещения охватывает весь файл: такие значения получает прошивка, открытая впервые. Укажите свободное место прошивки.</source>
        <translation>The placement area takes in the whole file: these are the values a firmware opened for the first time gets. Enter the free space of the firmware.</translation>
    </message>
</context>
</TS>
