<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>BatchReplace</name>
    <message numerus="yes">
        <source>Удачно заменено %n картинок из %1 выбранных</source>
        <translation>
            <numerusform>Удачно заменена %n картинка из %1 выбранных</numerusform>
            <numerusform>Удачно заменены %n картинки из %1 выбранных</numerusform>
            <numerusform>Удачно заменено %n картинок из %1 выбранных</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ColorMerge</name>
    <message numerus="yes">
        <source>%n цветов сведены к %1</source>
        <translation>
            <numerusform>%n цвет сведён к %1</numerusform>
            <numerusform>%n цвета сведены к %1</numerusform>
            <numerusform>%n цветов сведены к %1</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>FlashNotices</name>
    <message numerus="yes">
        <source>%1 байт</source>
        <translation>
            <numerusform>%1 байт</numerusform>
            <numerusform>%1 байта</numerusform>
            <numerusform>%1 байт</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>vorlix::TForm1</name>
    <message numerus="yes">
        <source>Найдено %n картинок</source>
        <translation>
            <numerusform>Найдена %n картинка</numerusform>
            <numerusform>Найдены %n картинки</numerusform>
            <numerusform>Найдено %n картинок</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Всего %n картинок, из них %1 в PIT и %2 в ExtPIT</source>
        <translation>
            <numerusform>Всего %n картинка, из них %1 в PIT и %2 в ExtPIT</numerusform>
            <numerusform>Всего %n картинки, из них %1 в PIT и %2 в ExtPIT</numerusform>
            <numerusform>Всего %n картинок, из них %1 в PIT и %2 в ExtPIT</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Сохранено %n картинок в папку «%1»</source>
        <translation>
            <numerusform>Сохранена %n картинка в папку «%1»</numerusform>
            <numerusform>Сохранены %n картинки в папку «%1»</numerusform>
            <numerusform>Сохранено %n картинок в папку «%1»</numerusform>
        </translation>
    </message>
</context>
</TS>
