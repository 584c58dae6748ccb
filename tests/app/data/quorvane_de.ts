<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!-- A one-message stand-in for the German translation, for the loader's test. -->
<TS version="2.1" language="de_DE">
<context>
    <name>quorvane::gui::SettingsView</name>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
</context>
</TS>
