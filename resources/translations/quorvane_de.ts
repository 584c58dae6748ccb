<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>ConversionError</name>
    <message>
        <location filename="../../src/services/conversion_errors.cpp" line="+17"/>
        <source>Cancelled</source>
        <translation>Abgebrochen</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Process exited with code %1: %2</source>
        <extracomment>%1 is the tool&apos;s exit status, %2 what it wrote to its error output</extracomment>
        <translation>Prozess mit Code %1 beendet: %2</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Image decoding failed</source>
        <translation>Bild konnte nicht dekodiert werden</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>BMP export failed</source>
        <translation>BMP-Export fehlgeschlagen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Output file was not created</source>
        <translation>Ausgabedatei wurde nicht erstellt</translation>
    </message>
    <message>
        <location filename="../../src/services/image_converter.cpp" line="+50"/>
        <location filename="../../src/services/staged_output.cpp" line="+24"/>
        <source>Cannot write the output file</source>
        <translation>Ausgabedatei kann nicht geschrieben werden</translation>
    </message>
    <message>
        <location line="+183"/>
        <source>Cannot create the output folder</source>
        <translation>Ausgabeordner kann nicht erstellt werden</translation>
    </message>
    <message>
        <location filename="../../src/services/process_runner.cpp" line="+107"/>
        <source>terminated by signal %1 (%2)</source>
        <extracomment>%1 is a signal number, %2 its description such as &quot;Segmentation fault&quot;</extracomment>
        <translation>durch Signal %1 beendet (%2)</translation>
    </message>
    <message>
        <location line="+50"/>
        <source>Cannot start %1</source>
        <translation>%1 kann nicht gestartet werden</translation>
    </message>
    <message>
        <location filename="../../src/viewmodels/conversion_view_model.cpp" line="+175"/>
        <source>Not enough memory</source>
        <translation>Nicht genügend Arbeitsspeicher</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Conversion failed</source>
        <translation>Konvertierung fehlgeschlagen</translation>
    </message>
</context>
<context>
    <name>QuantizeError</name>
    <message>
        <location filename="../../src/services/png_quantizer.cpp" line="+14"/>
        <source>Image decoding failed</source>
        <translation>Bild konnte nicht dekodiert werden</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Pixel buffer creation failed</source>
        <translation>Pixelpuffer konnte nicht erstellt werden</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Color quantization failed</source>
        <translation>Farbreduktion fehlgeschlagen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>PNG write failed</source>
        <translation>PNG konnte nicht geschrieben werden</translation>
    </message>
</context>
<context>
    <name>ToolError</name>
    <message>
        <location filename="../../src/services/tool_manager.cpp" line="+44"/>
        <source>App bundle resource path not found.</source>
        <translation>Ressourcenordner des Programms nicht gefunden.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>CLI tool &apos;%1&apos; not found. Place binaries in %2/.</source>
        <extracomment>%1 is a program name such as cwebp, %2 the folder searched for it</extracomment>
        <translation>Kommandozeilenprogramm „%1“ nicht gefunden. Programmdateien gehören nach %2/.</translation>
    </message>
</context>
<context>
    <name>quorvane::core::ConversionViewModel</name>
    <message>
        <location filename="../../src/viewmodels/conversion_view_model.cpp" line="-107"/>
        <source>Cancelling conversion</source>
        <translation>Konvertierung wird abgebrochen</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::CheckForUpdatesViewModel</name>
    <message>
        <location filename="../../src/app/check_for_updates_view_model.cpp" line="+120"/>
        <source>The update server did not answer in time.</source>
        <translation>Der Update-Server hat nicht rechtzeitig geantwortet.</translation>
    </message>
    <message>
        <location line="+3"/>
        <location line="+21"/>
        <source>The update information could not be read.</source>
        <translation>Die Update-Informationen konnten nicht gelesen werden.</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>The version of this copy of Quorvane is unknown.</source>
        <translation>Die Version dieser Quorvane-Installation ist unbekannt.</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::ContentView</name>
    <message>
        <location filename="../../src/views/content_view.cpp" line="+122"/>
        <source>Open in File Manager</source>
        <translation>Im Dateimanager öffnen</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Start Conversion</source>
        <translation>Konvertierung starten</translation>
    </message>
    <message>
        <location line="+57"/>
        <source>Cancelling…</source>
        <translation>Wird abgebrochen…</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Cancelling conversion</source>
        <translation>Konvertierung wird abgebrochen</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Cancel conversion</source>
        <translation>Konvertierung abbrechen</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::DropZoneCompact</name>
    <message>
        <location filename="../../src/views/drop_zone_compact.cpp" line="+14"/>
        <source>Drop image files here</source>
        <translation>Bilddateien hier ablegen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Add images (drag &amp; drop)</source>
        <translation>Bilder hinzufügen (Drag &amp; Drop)</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::DropZoneView</name>
    <message>
        <location filename="../../src/views/drop_zone_view.cpp" line="+24"/>
        <source>Images (%1)</source>
        <translation>Bilder (%1)</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Drop image files here</source>
        <translation>Bilddateien hier ablegen</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Drag &amp; drop images here</source>
        <translation>Bilder hierher ziehen</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>or</source>
        <translation>oder</translation>
    </message>
    <message>
        <location line="+2"/>
        <location line="+34"/>
        <source>Select Files</source>
        <translation>Dateien auswählen</translation>
    </message>
    <message>
        <location line="-31"/>
        <source>PNG, JPEG, HEIC, WebP, AVIF, TIFF, GIF, BMP</source>
        <translation>PNG, JPEG, HEIC, WebP, AVIF, TIFF, GIF, BMP</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::FileListModel</name>
    <message>
        <location filename="../../src/views/file_list_model.cpp" line="+50"/>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Convert</source>
        <translation>Format</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Ratio</source>
        <translation>Quote</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <location line="+50"/>
        <source>%1 → %2</source>
        <extracomment>original size, arrow, size after conversion</extracomment>
        <translation>%1 → %2</translation>
    </message>
    <message>
        <location line="+10"/>
        <location line="+5"/>
        <source>Waiting</source>
        <translation>Wartet</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Converting</source>
        <translation>Wird konvertiert</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Done</source>
        <translation>Fertig</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Cancelled</source>
        <translation>Abgebrochen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::FileListView</name>
    <message>
        <location filename="../../src/views/file_list_view.cpp" line="+19"/>
        <source>Images</source>
        <translation>Bilder</translation>
    </message>
    <message>
        <location line="+69"/>
        <source>Delete</source>
        <translation>Aus Liste entfernen</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::MainWindow</name>
    <message>
        <location filename="../../src/app/quorvane_app.cpp" line="+26"/>
        <source>&amp;Quorvane</source>
        <translation>&amp;Quorvane</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Settings…</source>
        <translation>Einstellungen…</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Check for Updates…</source>
        <translation>Nach Updates suchen…</translation>
    </message>
    <message>
        <location line="+7"/>
        <location line="+18"/>
        <source>About Quorvane</source>
        <translation>Über Quorvane</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&lt;h3&gt;Quorvane %1&lt;/h3&gt;&lt;p&gt;Makes image files smaller: WebP, JPEG, PNG, HEIC and AVIF, several at a time.&lt;/p&gt;</source>
        <translation>&lt;h3&gt;Quorvane %1&lt;/h3&gt;&lt;p&gt;Macht Bilddateien kleiner: WebP, JPEG, PNG, HEIC und AVIF, mehrere auf einmal.&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::SettingsBar</name>
    <message>
        <location filename="../../src/views/settings_bar.cpp" line="+114"/>
        <source>Format:</source>
        <translation>Format:</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Format</source>
        <translation>Format</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Quality:</source>
        <translation>Qualität:</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Web Optimal</source>
        <translation>Web</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Balance</source>
        <translation>Ausgewogen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>High Quality</source>
        <translation>Hoch</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Quality</source>
        <translation>Qualität</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Resize</source>
        <translation>Größe ändern</translation>
    </message>
    <message>
        <location line="+39"/>
        <source>px</source>
        <translation>px</translation>
    </message>
    <message>
        <location line="-31"/>
        <source>Max width:</source>
        <translation>Max. Breite:</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Maximum width</source>
        <translation>Maximale Breite</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Max height:</source>
        <translation>Max. Höhe:</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Maximum height</source>
        <translation>Maximale Höhe</translation>
    </message>
    <message>
        <location line="+40"/>
        <source>Filename:</source>
        <translation>Dateiname:</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Original</source>
        <translation>Original</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Custom</source>
        <translation>Eigener</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>Prefix:</source>
        <translation>Präfix:</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Prefix</source>
        <translation>Präfix</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Start:</source>
        <translation>Start:</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Start number</source>
        <translation>Startnummer</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Output:</source>
        <translation>Ausgabe:</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Change Folder</source>
        <translation>Ordner ändern</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Choose Output Folder</source>
        <translation>Ausgabeordner wählen</translation>
    </message>
    <message>
        <location line="+64"/>
        <source>(compressed/ folder next to input files)</source>
        <translation>(Ordner compressed/ neben den Eingabedateien)</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::SettingsButton</name>
    <message>
        <location filename="../../src/views/settings_button.cpp" line="+14"/>
        <location line="+1"/>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::SettingsView</name>
    <message>
        <location filename="../../src/views/settings_view.cpp" line="+55"/>
        <location line="+10"/>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <location line="+21"/>
        <location line="+18"/>
        <source>Language</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Output:</source>
        <translation>Ausgabe:</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Reset to Default</source>
        <translation>Zurücksetzen</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Default</source>
        <extracomment>Shown instead of the reset button while no output folder is chosen.</extracomment>
        <translation>Standard</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>Please restart Quorvane for the language change to take effect.</source>
        <translation>Die neue Sprache gilt nach einem Neustart von Quorvane.</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <location line="+29"/>
        <source>(compressed/ folder next to input files)</source>
        <translation>(Ordner compressed/ neben den Eingabedateien)</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::SummaryView</name>
    <message>
        <location filename="../../src/views/summary_view.cpp" line="+53"/>
        <source>Converting...</source>
        <translation>Wird konvertiert…</translation>
    </message>
    <message>
        <location line="+55"/>
        <source>%1/%2 files</source>
        <translation>%1/%2 Dateien</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::UpdateResultDialog</name>
    <message>
        <location filename="../../src/app/update_result_dialog.cpp" line="+15"/>
        <source>Check for Updates</source>
        <translation>Nach Updates suchen</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Quorvane %1 is available.</source>
        <extracomment>%1 is a version number such as 1.2.0.</extracomment>
        <translation>Quorvane %1 ist verfügbar.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>You have version %1.</source>
        <extracomment>%1 is the version number of the running copy.</extracomment>
        <translation>Installiert ist Version %1.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Download</source>
        <translation>Herunterladen</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>You&apos;re up to date.</source>
        <translation>Quorvane ist auf dem neuesten Stand.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Quorvane %1 is the newest version.</source>
        <extracomment>%1 is a version number such as 1.2.0.</extracomment>
        <translation>Quorvane %1 ist die neueste Version.</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Could not check for updates: %1</source>
        <extracomment>%1 says what went wrong, e.g. &quot;Connection refused&quot;.</extracomment>
        <translation>Suche nach Updates fehlgeschlagen: %1</translation>
    </message>
</context>
</TS>
