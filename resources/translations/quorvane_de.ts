<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>ConversionError</name>
    <message>
        <location filename="../../src/services/conversion_errors.cpp" line="+20"/>
        <source>Cancelled</source>
        <translation>Abgebrochen</translation>
    </message>
    <message>
        <location line="+49"/>
        <source>%1 was stopped by signal %2 (%3)</source>
        <extracomment>%1 is an encoder program such as cwebp, %2 a signal number, %3 its name</extracomment>
        <translation>%1 wurde durch Signal %2 (%3) beendet</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 could not convert the image (exit status %2)</source>
        <extracomment>%1 is an encoder program such as cwebp, %2 its exit status</extracomment>
        <translation>%1 konnte das Bild nicht konvertieren (Exit-Status %2)</translation>
    </message>
    <message>
        <location line="+4"/>
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
        <location line="+2"/>
        <source>The file is empty</source>
        <translation>Die Datei ist leer</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The file is no longer there</source>
        <translation>Die Datei ist nicht mehr vorhanden</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Not an image, or a kind this program cannot read</source>
        <translation>Kein Bild oder ein Bildtyp, den dieses Programm nicht lesen kann</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>The image data is damaged</source>
        <translation>Die Bilddaten sind beschädigt</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Image too large (%1 × %2 pixels; the limit is %3 pixels)</source>
        <extracomment>%1 x %2 is the image&apos;s size in pixels, %3 the largest pixel count allowed</extracomment>
        <translation>Bild zu groß (%1 × %2 Pixel; erlaubt sind höchstens %3 Pixel)</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>%1 cannot hold an image of %2 × %3 pixels (%4)</source>
        <extracomment>%1 is a format such as WebP, %2 x %3 the output&apos;s size, %4 why it does not fit</extracomment>
        <translation>%1 kann kein Bild mit %2 × %3 Pixeln speichern (%4)</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>%1 image sequences are not supported</source>
        <extracomment>%1 is HEIF or AVIF</extracomment>
        <translation>%1-Bildsequenzen werden nicht unterstützt</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>This %1 image is put together in a way the installed HEIF library cannot read</source>
        <extracomment>%1 is HEIF or AVIF. The image is put together from parts (turned, cropped, tiled).</extracomment>
        <translation>Dieses %1-Bild ist so zusammengesetzt, dass die installierte HEIF-Bibliothek es nicht lesen kann</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>The encoder wrote a file that cannot be read back</source>
        <translation>Der Encoder hat eine Datei geschrieben, die nicht wieder gelesen werden kann</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>No space left on the device</source>
        <translation>Kein freier Speicherplatz auf dem Datenträger</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The disk quota is used up</source>
        <translation>Das Speicherkontingent ist ausgeschöpft</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Permission denied</source>
        <translation>Keine Berechtigung</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The disk is read-only</source>
        <translation>Der Datenträger ist schreibgeschützt</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>No such file or folder</source>
        <translation>Datei oder Ordner nicht gefunden</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The name is too long</source>
        <translation>Der Name ist zu lang</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>No free name is left</source>
        <translation>Kein freier Name mehr verfügbar</translation>
    </message>
    <message>
        <location line="+28"/>
        <source>Cannot read the file</source>
        <translation>Datei kann nicht gelesen werden</translation>
    </message>
    <message>
        <location line="+6"/>
        <location filename="../../src/services/image_converter.cpp" line="+239"/>
        <location filename="../../src/services/roads/png_road.cpp" line="+21"/>
        <location filename="../../src/services/roads/road.cpp" line="+50"/>
        <location filename="../../src/services/staged_output.cpp" line="+30"/>
        <source>Cannot write the output file</source>
        <translation>Ausgabedatei kann nicht geschrieben werden</translation>
    </message>
    <message>
        <location filename="../../src/services/process_runner.cpp" line="+221"/>
        <source>Cannot start %1</source>
        <translation>%1 kann nicht gestartet werden</translation>
    </message>
    <message>
        <location filename="../../src/services/conversion_errors.cpp" line="-82"/>
        <location line="+50"/>
        <location filename="../../src/services/run_conversion.cpp" line="+213"/>
        <source>Not enough memory</source>
        <translation>Nicht genügend Arbeitsspeicher</translation>
    </message>
    <message>
        <location filename="../../src/services/run_conversion.cpp" line="+6"/>
        <source>Conversion failed</source>
        <translation>Konvertierung fehlgeschlagen</translation>
    </message>
    <message>
        <location filename="../../src/services/file_service.cpp" line="+84"/>
        <location line="+136"/>
        <source>Cannot choose an output name</source>
        <translation>Name für die Ausgabedatei kann nicht festgelegt werden</translation>
    </message>
    <message>
        <location filename="../../src/services/temporary_files.cpp" line="+87"/>
        <source>Cannot create a temporary folder</source>
        <translation>Temporärer Ordner kann nicht erstellt werden</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Cannot create a temporary file</source>
        <translation>Temporäre Datei kann nicht erstellt werden</translation>
    </message>
    <message>
        <location filename="../../src/services/format_limits.cpp" line="+75"/>
        <source>its sides are at most %1 pixels</source>
        <extracomment>why a format cannot hold an image, e.g. &quot;its sides are at most 16,383 pixels&quot;</extracomment>
        <translation>die Seiten sind höchstens %1 Pixel lang</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>it needs a short side of %1 pixels or more once the long side reaches %2</source>
        <extracomment>why a format cannot hold an image</extracomment>
        <translation>die kurze Seite muss mindestens %1 Pixel lang sein, sobald die lange Seite %2 erreicht</translation>
    </message>
    <message>
        <location filename="../../src/services/roads/jxl_road.cpp" line="+61"/>
        <source>The JPEG XL file does not give the original JPEG back byte for byte, so it was not written</source>
        <translation>Die JPEG-XL-Datei ergibt das ursprüngliche JPEG nicht Byte für Byte, daher wurde sie nicht geschrieben</translation>
    </message>
    <message>
        <location line="+53"/>
        <location filename="../../src/services/roads/road.cpp" line="+17"/>
        <location filename="../../src/services/roads/tool_inputs.cpp" line="+73"/>
        <source>Cannot write a temporary file</source>
        <translation>Temporäre Datei kann nicht geschrieben werden</translation>
    </message>
    <message>
        <location filename="../../src/services/image_converter.cpp" line="-168"/>
        <source>Cannot create the output folder</source>
        <translation>Ausgabeordner kann nicht erstellt werden</translation>
    </message>
    <message>
        <location line="+34"/>
        <source>JPEG XL needs the programs of libjxl-tools: %1</source>
        <extracomment>%1 says which program is missing and where it was looked for</extracomment>
        <translation>JPEG XL braucht die Programme aus libjxl-tools: %1</translation>
    </message>
    <message>
        <location filename="../../src/services/lossless_error.cpp" line="+13"/>
        <source>Lossless cannot be combined with Auto: choose a format, or Same as Original</source>
        <translation>Verlustfrei lässt sich nicht mit Auto kombinieren: Wählen Sie ein Format oder „Wie Original“</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Lossless HEIC is not available: the HEIC encoder cannot keep every pixel. Choose PNG, WebP or AVIF, or turn Lossless off</source>
        <translation>Verlustfreies HEIC ist nicht verfügbar: Der HEIC-Encoder kann nicht jedes Pixel erhalten. Wählen Sie PNG, WebP oder AVIF, oder schalten Sie „Verlustfrei“ aus</translation>
    </message>
    <message>
        <location line="+37"/>
        <source>The output is not lossless: the pixel at %1, %2 changed</source>
        <extracomment>%1, %2: the column and row of the first pixel that changed</extracomment>
        <translation>Die Ausgabe ist nicht verlustfrei: Das Pixel bei %1, %2 hat sich geändert</translation>
    </message>
    <message>
        <location filename="../../src/services/roads/jpeg_road.cpp" line="+29"/>
        <source>Lossless JPEG needs a complete JPEG at its own size: choose PNG or WebP, or Same as Original</source>
        <translation>Verlustfreies JPEG braucht ein vollständiges JPEG in seiner eigenen Größe: Wählen Sie PNG oder WebP, oder „Wie Original“</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>This JPEG is stored turned, and turning it upright changes pixels: choose PNG or WebP for it</source>
        <translation>Dieses JPEG ist gedreht gespeichert, und es aufzurichten ändert Pixel: Wählen Sie dafür PNG oder WebP</translation>
    </message>
</context>
<context>
    <name>ConversionNote</name>
    <message>
        <location filename="../../src/services/roads/road.cpp" line="-29"/>
        <source>Transparent areas filled with white</source>
        <extracomment>shown under a converted image that had transparent areas</extracomment>
        <translation>Transparente Bereiche mit Weiß gefüllt</translation>
    </message>
    <message>
        <location filename="../../src/services/carried_metadata.cpp" line="+16"/>
        <source>Colour profile ignored: it does not fit the image</source>
        <extracomment>shown under a converted image whose embedded profile is for another kind of image (a grey profile on colour pixels)</extracomment>
        <translation>Farbprofil ignoriert: Es passt nicht zum Bild</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>XMP not kept: %1 is more than the %2 carried</source>
        <extracomment>shown under a converted image; %1 and %2 are sizes such as &quot;16.8 MB&quot;</extracomment>
        <translation>XMP nicht beibehalten: %1 ist mehr als die übernommenen %2</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Colour profile converted to sRGB (the embedded one is malformed)</source>
        <extracomment>shown under a converted image whose RGB profile is damaged</extracomment>
        <translation>Farbprofil in sRGB konvertiert (das eingebettete ist fehlerhaft)</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Colour profile converted to sRGB (only RGB profiles can be kept)</source>
        <extracomment>shown under a converted image when its colour profile could not be kept</extracomment>
        <translation>Farbprofil in sRGB konvertiert (nur RGB-Profile können beibehalten werden)</translation>
    </message>
    <message>
        <location filename="../../src/services/saving_policy.cpp" line="+20"/>
        <source>Skipped: not smaller than the original</source>
        <translation>Übersprungen: nicht kleiner als das Original</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Skipped: %1% larger than the original</source>
        <extracomment>%1 is a whole percentage</extracomment>
        <translation>Übersprungen: %1% größer als das Original</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Skipped: only %1% smaller, minimum %2%</source>
        <extracomment>%1 is the saving, %2 the minimum asked for, both whole percentages</extracomment>
        <translation>Übersprungen: nur %1% kleiner, Minimum %2%</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Kept the original: the %1 would not be smaller</source>
        <extracomment>%1 is a format, e.g. &quot;WebP&quot;</extracomment>
        <translation>Original behalten: Die %1-Datei wäre nicht kleiner</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Kept the original: the %1 would be %2% larger</source>
        <extracomment>%1 is a format, e.g. &quot;WebP&quot;; %2 a whole percentage</extracomment>
        <translation>Original behalten: Die %1-Datei wäre %2 % größer</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Kept the original: the %1 would be only %2% smaller (minimum %3%)</source>
        <extracomment>%1 is a format; %2 the saving, %3 the minimum asked for, both whole percentages</extracomment>
        <translation>Original behalten: Die %1-Datei wäre nur %2 % kleiner (mindestens %3 %)</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>%1% larger than the original</source>
        <extracomment>%1 is a whole percentage</extracomment>
        <translation>%1 % größer als das Original</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>only %1% smaller (minimum %2%)</source>
        <extracomment>%1 is the saving, %2 the minimum asked for, both whole percentages</extracomment>
        <translation>nur %1 % kleiner (mindestens %2 %)</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>%1, and a copy of the original would carry its camera data</source>
        <extracomment>%1 says why, e.g. &quot;Skipped: 12% larger than the original&quot;</extracomment>
        <translation>%1, und eine Kopie des Originals enthielte seine Kameradaten</translation>
    </message>
    <message>
        <location filename="../../src/services/run_conversion.cpp" line="-165"/>
        <source>The file date could not be kept: %1</source>
        <extracomment>shown under a converted image</extracomment>
        <translation>Das Dateidatum konnte nicht beibehalten werden: %1</translation>
    </message>
    <message>
        <location filename="../../src/services/left_out_notes.cpp" line="+18"/>
        <source>EXIF not kept: %1 is more than a %2 holds (%3)</source>
        <extracomment>shown under a converted image; %1 and %3 are sizes such as &quot;70.0 kB&quot;, %2 a format such as &quot;JPEG&quot;</extracomment>
        <translation>EXIF nicht beibehalten: %1 ist mehr, als ein %2 aufnehmen kann (%3)</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>XMP not kept: %1 is more than a %2 holds (%3) and it holds no XMP element to split off</source>
        <extracomment>shown under a converted image; %1 and %3 are sizes, %2 a format such as &quot;JPEG&quot;</extracomment>
        <translation>XMP nicht beibehalten: %1 ist mehr, als ein %2 aufnehmen kann (%3), und es enthält kein abtrennbares XMP-Element</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Colour profile not kept: %1 is more than a %2 holds (%3); colours converted to sRGB</source>
        <extracomment>shown under a converted image; %1 and %3 are sizes, %2 a format such as &quot;JPEG&quot;</extracomment>
        <translation>Farbprofil nicht beibehalten: %1 ist mehr, als ein %2 aufnehmen kann (%3); Farben in sRGB konvertiert</translation>
    </message>
    <message>
        <location filename="../../src/services/hdr_output.cpp" line="+20"/>
        <source>HDR (PQ) image tone-mapped to SDR (sRGB)</source>
        <extracomment>shown under a converted image: a high dynamic range (HDR) photo made fit for ordinary screens</extracomment>
        <translation>HDR-Bild (PQ) per Tone-Mapping in SDR (sRGB) umgewandelt</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>HDR (HLG) image tone-mapped to SDR (sRGB)</source>
        <extracomment>shown under a converted image: a high dynamic range (HDR) photo made fit for ordinary screens</extracomment>
        <translation>HDR-Bild (HLG) per Tone-Mapping in SDR (sRGB) umgewandelt</translation>
    </message>
    <message>
        <location filename="../../src/services/roads/jxl_road.cpp" line="-33"/>
        <source>Camera data kept: the original JPEG comes back byte for byte</source>
        <extracomment>shown under a JPEG recompressed reversibly to JPEG XL</extracomment>
        <translation>Kameradaten behalten: Das ursprüngliche JPEG lässt sich Byte für Byte zurückgewinnen</translation>
    </message>
    <message>
        <location filename="../../src/services/fit_under.cpp" line="+114"/>
        <source>%1 at %2 to fit under %3</source>
        <extracomment>%1 is a format (&quot;WebP&quot;), %2 a quality (0-100), %3 a size (&quot;200.0 kB&quot;)</extracomment>
        <translation>%1 mit %2, um unter %3 zu bleiben</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 at %2 fits under %3</source>
        <translation>%1 mit %2 bleibt unter %3</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Does not fit under %1 even at quality %2</source>
        <extracomment>%1 is a size (&quot;200.0 kB&quot;), %2 the lowest quality (0)</extracomment>
        <translation>Passt selbst mit Qualität %2 nicht unter %1</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Does not fit under %1: this format has no quality to lower</source>
        <extracomment>%1 is a size (&quot;200.0 kB&quot;); PNG and lossless outputs have no quality to lower</extracomment>
        <translation>Passt nicht unter %1: Bei diesem Format lässt sich die Qualität nicht senken</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Lossless outputs cannot be made smaller to fit under %1: each is written as usual, and one over it is marked as not fitting</source>
        <extracomment>%1 is a size (&quot;200.0 kB&quot;)</extracomment>
        <translation>Verlustfreie Ausgaben lassen sich nicht verkleinern, um unter %1 zu bleiben: Jede wird wie gewohnt geschrieben, und eine größere wird als nicht passend markiert</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>PNG outputs are not made smaller to fit under %1 (their quality only sets the palette): one over it is marked as not fitting</source>
        <extracomment>%1 is a size (&quot;200.0 kB&quot;)</extracomment>
        <translation>PNG-Ausgaben werden nicht verkleinert, um unter %1 zu bleiben (ihre Qualität bestimmt nur die Palette): Eine größere wird als nicht passend markiert</translation>
    </message>
</context>
<context>
    <name>DesktopIntegration</name>
    <message>
        <location filename="../../src/app/qt_desktop_integration.cpp" line="+55"/>
        <source>Cannot Open the Folder</source>
        <translation>Ordner kann nicht geöffnet werden</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>No program to show folders is set up on this system. The outputs are in:
%1</source>
        <translation>Auf diesem System ist kein Programm zum Anzeigen von Ordnern eingerichtet. Die Ausgaben liegen in:
%1</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Cannot Open the File</source>
        <translation>Datei kann nicht geöffnet werden</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>No program to open this file is set up on this system:
%1</source>
        <translation>Auf diesem System ist kein Programm zum Öffnen dieser Datei eingerichtet:
%1</translation>
    </message>
</context>
<context>
    <name>FileDialogs</name>
    <message>
        <location filename="../../src/views/file_dialogs.cpp" line="+54"/>
        <source>Images (%1)</source>
        <translation>Bilder (%1)</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Add Files</source>
        <translation>Dateien hinzufügen</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>CSV spreadsheet (*.csv)</source>
        <translation>CSV-Tabelle (*.csv)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>JSON (*.json)</source>
        <translation>JSON (*.json)</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+15"/>
        <source>Export Report</source>
        <translation>Bericht exportieren</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The report could not be saved: %1</source>
        <translation>Der Bericht konnte nicht gespeichert werden: %1</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Add Folder</source>
        <translation>Ordner hinzufügen</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Choose Output Folder</source>
        <translation>Ausgabeordner wählen</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>%1 cannot be written to (%2). Choose another folder.</source>
        <extracomment>%1 the folder, %2 the system&apos;s reason, such as &quot;Permission denied&quot;</extracomment>
        <translation>In %1 kann nicht geschrieben werden (%2). Wählen Sie einen anderen Ordner.</translation>
    </message>
</context>
<context>
    <name>Preset</name>
    <message>
        <location filename="../../src/models/preset.cpp" line="+45"/>
        <source>Web: WebP, 1920 px</source>
        <translation>Web: WebP, 1920 px</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Email: JPEG, 1280 px, under 500 kB</source>
        <translation>E-Mail: JPEG, 1280 px, unter 500 kB</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Archive: lossless</source>
        <translation>Archiv: verlustfrei</translation>
    </message>
</context>
<context>
    <name>QualityVerdict</name>
    <message>
        <location filename="../../src/models/quality_verdict.cpp" line="+18"/>
        <source>identical to the eye</source>
        <extracomment>how an output compares with its original, to the eye</extracomment>
        <translation>für das Auge identisch</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>very close</source>
        <translation>sehr ähnlich</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>visible on close look</source>
        <translation>bei genauem Hinsehen sichtbar</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>visibly changed</source>
        <translation>sichtbar verändert</translation>
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
    <name>quorvane::core</name>
    <message>
        <location filename="../../src/services/conversion_ledger.cpp" line="+91"/>
        <source>The record of earlier conversions in %1 is not a regular file; it is left alone.</source>
        <translation>Das Verzeichnis früherer Umwandlungen in %1 ist keine normale Datei; es bleibt unberührt.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The record of earlier conversions in %1 is too large to read; it is left alone.</source>
        <translation>Das Verzeichnis früherer Umwandlungen in %1 ist zu groß zum Lesen; es bleibt unberührt.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The record of earlier conversions in %1 could not be read: %2</source>
        <translation>Das Verzeichnis früherer Umwandlungen in %1 konnte nicht gelesen werden: %2</translation>
    </message>
</context>
<context>
    <name>quorvane::core::ConversionLedger</name>
    <message>
        <location line="+117"/>
        <source>The record of earlier conversions in %1 is damaged; what could not be read is ignored.</source>
        <translation>Das Verzeichnis früherer Umwandlungen in %1 ist beschädigt; was nicht gelesen werden konnte, wird übergangen.</translation>
    </message>
    <message>
        <location line="+73"/>
        <source>The record of conversions in %1 could not be saved: %2</source>
        <translation>Das Verzeichnis der Umwandlungen in %1 konnte nicht gespeichert werden: %2</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>The record of conversions in %1 could not be saved: another conversion kept it locked.</source>
        <translation>Das Verzeichnis der Umwandlungen in %1 konnte nicht gespeichert werden: Eine andere Umwandlung hielt es gesperrt.</translation>
    </message>
</context>
<context>
    <name>quorvane::core::ConversionViewModel</name>
    <message>
        <location filename="../../src/viewmodels/conversion_view_model_batch.cpp" line="+251"/>
        <source>Cancelling conversion</source>
        <translation>Konvertierung wird abgebrochen</translation>
    </message>
    <message>
        <location line="+57"/>
        <source>Already converted</source>
        <translation>Bereits konvertiert</translation>
    </message>
    <message>
        <location line="+34"/>
        <source>Images converted: %1</source>
        <translation>Konvertierte Bilder: %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 failed</source>
        <translation>%1 fehlgeschlagen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Conversion finished</source>
        <translation>Konvertierung abgeschlossen</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::CheckForUpdatesViewModel</name>
    <message>
        <location filename="../../src/app/check_for_updates_view_model.cpp" line="+110"/>
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
    <name>quorvane::gui::CompareCanvas</name>
    <message>
        <location filename="../../src/views/compare_canvas.cpp" line="+28"/>
        <source>Original and output</source>
        <translation>Original und Ausgabe</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Arrow keys move the picture; plus and minus zoom; comma and period move the split line</source>
        <translation>Pfeiltasten verschieben das Bild; Plus und Minus zoomen; Komma und Punkt verschieben die Trennlinie</translation>
    </message>
    <message>
        <location line="+170"/>
        <source>Original</source>
        <translation>Original</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Output</source>
        <translation>Ausgabe</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::CompareView</name>
    <message>
        <location filename="../../src/views/compare_view.cpp" line="+40"/>
        <source>Compare</source>
        <translation>Vergleichen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Compare original and output</source>
        <translation>Original und Ausgabe vergleichen</translation>
    </message>
    <message>
        <location line="+55"/>
        <source>&amp;Fit</source>
        <translation>&amp;Einpassen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Show the whole picture (Ctrl+0)</source>
        <translation>Das ganze Bild zeigen (Strg+0)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;100 %</source>
        <translation>&amp;100 %</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>One pixel of the output per screen pixel (Ctrl+1)</source>
        <translation>Ein Pixel der Ausgabe je Bildschirmpixel (Strg+1)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Zoom to 100 %</source>
        <translation>Auf 100 % zoomen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;200 %</source>
        <translation>&amp;200 %</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Two screen pixels per pixel of the output (Ctrl+2)</source>
        <translation>Zwei Bildschirmpixel je Pixel der Ausgabe (Strg+2)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Zoom to 200 %</source>
        <translation>Auf 200 % zoomen</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>&amp;Side by Side</source>
        <translation>&amp;Nebeneinander</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Both pictures beside each other instead of a split line</source>
        <translation>Beide Bilder nebeneinander statt einer Trennlinie</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>&amp;Difference Map</source>
        <translation>&amp;Unterschiedskarte</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Colours where the quality check sees the output differ: yellow a little, red most</source>
        <translation>Färbt, wo die Qualitätsprüfung die Ausgabe abweichen sieht: gelb ein wenig, rot am meisten</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>&amp;Quality:</source>
        <translation>&amp;Qualität:</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Quality to try</source>
        <translation>Zu probierende Qualität</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Encodes this image again at another quality, to see it here</source>
        <translation>Kodiert dieses Bild erneut mit einer anderen Qualität, um es hier zu sehen</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>&amp;Use This Quality</source>
        <translation>Diese Qualität &amp;verwenden</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Converts this image again at the quality shown and keeps it for this image</source>
        <translation>Konvertiert dieses Bild erneut mit der gezeigten Qualität und behält sie für dieses Bild</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>Original: %1, %2</source>
        <translation>Original: %1, %2</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Original: %1, %2 × %3, %4</source>
        <translation>Original: %1, %2 × %3, %4</translation>
    </message>
    <message>
        <location line="+28"/>
        <source>%1 % smaller</source>
        <translation>%1 % kleiner</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>%1 % larger</source>
        <translation>%1 % größer</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 (score %2)</source>
        <translation>%1 (Wert %2)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>quality not checked</source>
        <translation>Qualität nicht geprüft</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Trial: %1 at quality %2, %3, %4, %5</source>
        <translation>Probe: %1 mit Qualität %2, %3, %4, %5</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Output: %1 at quality %2, %3, %4, %5</source>
        <translation>Ausgabe: %1 mit Qualität %2, %3, %4, %5</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>Encoding at quality %1…</source>
        <translation>Kodiere mit Qualität %1…</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Decoding…</source>
        <translation>Dekodiere…</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Measuring the difference…</source>
        <translation>Miss den Unterschied…</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Decoding at full size…</source>
        <translation>Dekodiere in voller Größe…</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>%1 %</source>
        <translation>%1 %</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Zoom %1 %</source>
        <translation>Zoom %1 %</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>In Auto the quality is the look to reach: choose a format to set one for an image</source>
        <translation>In „Automatisch“ ist die Qualität das Aussehen, das erreicht werden soll: wählen Sie ein Format, um sie für ein Bild festzulegen</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::ContentView</name>
    <message>
        <location filename="../../src/views/content_view.cpp" line="+75"/>
        <source>Images in output folders, left out: %1</source>
        <translation>Bilder in Ausgabeordnern ausgelassen: %1</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Locations that could not be read: %1, such as %2 (%3)</source>
        <extracomment>%1 is how many, %2 the first of them, %3 why it could not be read</extracomment>
        <translation>Nicht lesbare Speicherorte: %1, z. B. %2 (%3)</translation>
    </message>
    <message>
        <location line="+32"/>
        <source>Comp&amp;are</source>
        <translation>&amp;Vergleichen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Original and output of the selected image side by side (Space)</source>
        <translation>Original und Ausgabe des gewählten Bildes nebeneinander (Leertaste)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Compare the selected image</source>
        <translation>Das gewählte Bild vergleichen</translation>
    </message>
    <message>
        <location line="+48"/>
        <source>Op&amp;en in File Manager</source>
        <translation>Im Dateimanager ö&amp;ffnen</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>C&amp;lear</source>
        <translation>&amp;Leeren</translation>
    </message>
    <message>
        <location line="+35"/>
        <source>Start &amp;Conversion</source>
        <extracomment>the main button while images wait; the same mnemonic as &quot;&amp;Convert All Again&quot;</extracomment>
        <translation>&amp;Konvertierung starten</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>&amp;Convert All Again</source>
        <extracomment>the main button once every image is finished; the same mnemonic as &quot;Start &amp;Conversion&quot;</extracomment>
        <translation>Alle erneut &amp;konvertieren</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Output Folder Cannot Be Written</source>
        <translation>Ausgabeordner nicht beschreibbar</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Nothing was converted: %1 cannot be written to (%2).</source>
        <extracomment>%1 the folder, %2 the system&apos;s reason, such as &quot;Permission denied&quot;</extracomment>
        <translation>Nichts wurde konvertiert: In %1 kann nicht geschrieben werden (%2).</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Choose another folder for the outputs, or make this one writable and start again.</source>
        <translation>Wählen Sie einen anderen Ordner für die Ergebnisse oder machen Sie diesen beschreibbar und starten Sie erneut.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>C&amp;hoose Another Folder…</source>
        <translation>Anderen Ordner &amp;wählen…</translation>
    </message>
    <message>
        <location line="+93"/>
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
        <location filename="../../src/views/drop_zone_compact.cpp" line="+16"/>
        <source>Drop image files here</source>
        <translation>Bilddateien hier ablegen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Add images (drag &amp; drop)</source>
        <translation>Bilder hinzufügen (Drag &amp; Drop)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Add F&amp;iles…</source>
        <translation>D&amp;ateien hinzufügen…</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Add Fol&amp;der…</source>
        <translation>O&amp;rdner hinzufügen…</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::DropZoneView</name>
    <message>
        <location filename="../../src/views/drop_zone_view.cpp" line="+20"/>
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
        <source>Select F&amp;iles</source>
        <translation>D&amp;ateien auswählen</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>PNG, JPEG, HEIC, WebP, AVIF, TIFF, GIF, BMP</source>
        <translation>PNG, JPEG, HEIC, WebP, AVIF, TIFF, GIF, BMP</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::FileListModel</name>
    <message>
        <location filename="../../src/views/file_list_model.cpp" line="+129"/>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Convert</source>
        <translation>Format</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Ratio</source>
        <translation>Quote</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Looks</source>
        <extracomment>column header: how the output compares with its original to the eye</extracomment>
        <translation>Aussehen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <location line="+81"/>
        <source>%1 → %2</source>
        <extracomment>original size, arrow, size after conversion</extracomment>
        <translation>%1 → %2</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>Scores %1 of 100. From %2 up, no difference can be seen.</source>
        <extracomment>%1 is the score, such as 81.4; %2 the score from which nobody sees a difference</extracomment>
        <translation>Erreicht %1 von 100. Ab %2 ist kein Unterschied zu sehen.</translation>
    </message>
    <message>
        <location line="+15"/>
        <location line="+6"/>
        <source>Waiting</source>
        <translation>Wartet</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Converting</source>
        <translation>Wird konvertiert</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Done</source>
        <translation>Fertig</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Skipped</source>
        <translation>Übersprungen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Original kept</source>
        <translation>Original behalten</translation>
    </message>
    <message>
        <location line="-187"/>
        <source>→ %1</source>
        <extracomment>under the file name: the name of the file written</extracomment>
        <translation>→ %1</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Converting…</source>
        <translation>Wird konvertiert…</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Auto</source>
        <extracomment>the format Auto picks per image</extracomment>
        <translation>Auto</translation>
    </message>
    <message>
        <location line="+151"/>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::FileListView</name>
    <message>
        <location filename="../../src/views/file_list_view.cpp" line="+27"/>
        <source>Images</source>
        <translation>Bilder</translation>
    </message>
    <message>
        <location line="+58"/>
        <source>Waiting</source>
        <translation>Wartet</translation>
    </message>
    <message>
        <location line="+57"/>
        <source>&amp;Open</source>
        <translation>Ö&amp;ffnen</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Com&amp;pare</source>
        <translation>&amp;Vergleichen</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Show in File &amp;Manager</source>
        <translation>Im Datei&amp;manager anzeigen</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Convert &amp;All Again</source>
        <translation>&amp;Alle erneut konvertieren</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Convert Again at &amp;Higher Quality</source>
        <translation>Erneut mit &amp;höherer Qualität konvertieren</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>&amp;Retry Failed</source>
        <translation>Fehlgeschlagene &amp;wiederholen</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Remove &amp;Finished</source>
        <translation>Fertige &amp;entfernen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Remove From &amp;List</source>
        <translation>Aus &amp;Liste entfernen</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::FitUnderMenu</name>
    <message>
        <location filename="../../src/views/fit_under_menu.cpp" line="+27"/>
        <source>Each image is encoded at the highest quality, up to the one set, whose file is no larger. PNG and Lossless outputs have no quality to lower: they are only checked</source>
        <translation>Jedes Bild wird mit der höchsten Qualität (höchstens der eingestellten) kodiert, deren Datei nicht größer ist. PNG- und verlustfreie Ausgaben haben keine Qualität zum Senken: Sie werden nur geprüft</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>&amp;No Limit</source>
        <extracomment>the size limit is off</extracomment>
        <translation>&amp;Keine Begrenzung</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>&amp;Other Size…</source>
        <translation>&amp;Andere Größe…</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Largest file size, in bytes or with k (1000 bytes) or M (1,000,000 bytes), e.g. 200k or 1.5M:</source>
        <translation>Größte Dateigröße, in Bytes oder mit k (1000 Bytes) oder M (1.000.000 Bytes), z. B. 200k oder 1.5M:</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Fit Under</source>
        <translation>Dateigröße begrenzen</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>“%1” is not a size from 1 byte to 1G. Type e.g. 200k or 1.5M:</source>
        <extracomment>shown again in the dialog after a size it cannot read</extracomment>
        <translation>„%1“ ist keine Größe von 1 Byte bis 1G. Geben Sie z. B. 200k oder 1.5M ein:</translation>
    </message>
    <message>
        <location line="+24"/>
        <source>Fit &amp;Under: %1</source>
        <extracomment>in the Options menu; %1 is the size limit in force (&quot;200.0 kB&quot;)</extracomment>
        <translation>Dateigröße be&amp;grenzen: %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Fit &amp;Under</source>
        <translation>Dateigröße be&amp;grenzen</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::MainWindow</name>
    <message>
        <location filename="../../src/app/quorvane_app.cpp" line="+41"/>
        <source>Quit Quorvane?</source>
        <translation>Quorvane beenden?</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>A conversion is running. Quitting cancels it; the images converted so far are kept.</source>
        <translation>Eine Konvertierung läuft. Beim Beenden wird sie abgebrochen; die bereits konvertierten Bilder bleiben erhalten.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Cancel and &amp;Quit</source>
        <translation>Abbrechen und &amp;beenden</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Keep Converting</source>
        <translation>&amp;Weiter konvertieren</translation>
    </message>
    <message>
        <location line="+37"/>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Add &amp;Files…</source>
        <translation>&amp;Dateien hinzufügen…</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Add F&amp;older…</source>
        <translation>&amp;Ordner hinzufügen…</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Export &amp;Report…</source>
        <translation>Be&amp;richt exportieren…</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>&amp;Settings…</source>
        <translation>&amp;Einstellungen…</translation>
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
        <location line="+1"/>
        <source>Check for Updates…</source>
        <translation>Nach Updates suchen…</translation>
    </message>
    <message>
        <location line="+9"/>
        <location line="+33"/>
        <source>About Quorvane</source>
        <translation>Über Quorvane</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&lt;h3&gt;Quorvane %1&lt;/h3&gt;&lt;p&gt;Makes image files smaller: WebP, JPEG, PNG, HEIC, AVIF and JPEG XL, several at a time.&lt;/p&gt;</source>
        <translation>&lt;h3&gt;Quorvane %1&lt;/h3&gt;&lt;p&gt;Macht Bilddateien kleiner: WebP, JPEG, PNG, HEIC, AVIF und JPEG XL, mehrere auf einmal.&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::OptionsButton</name>
    <message>
        <location filename="../../src/views/options_button.cpp" line="+24"/>
        <source>Keep Camera &amp;Data</source>
        <translation>&amp;Kameradaten beibehalten</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Camera, lens, date, GPS position and copyright (EXIF and XMP) stay in the output</source>
        <translation>Kamera, Objektiv, Datum, GPS-Position und Copyright (EXIF und XMP) bleiben in der Ausgabedatei erhalten</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Keep Colour &amp;Profile</source>
        <translation>&amp;Farbprofil beibehalten</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Wide-gamut photos (Display P3, Adobe RGB) keep their profile and colours</source>
        <translation>Fotos mit erweitertem Farbraum (Display P3, Adobe RGB) behalten ihr Profil und ihre Farben</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Keep &amp;Transparency in PNG</source>
        <translation>&amp;Transparenz in PNG beibehalten</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>PNG outputs keep transparent areas; otherwise they are filled with white</source>
        <translation>PNG-Ausgabedateien behalten transparente Bereiche; andernfalls werden diese mit Weiß gefüllt</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Keep File Dat&amp;es</source>
        <translation>&amp;Dateidatum beibehalten</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Each output gets its original&apos;s modification time</source>
        <translation>Jede Ausgabedatei erhält das Änderungsdatum ihres Originals</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Keep Folder &amp;Structure</source>
        <translation>&amp;Ordnerstruktur beibehalten</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Images found in a folder go to the same subfolder of the output folder</source>
        <translation>Bilder aus einem Ordner kommen in den entsprechenden Unterordner des Ausgabeordners</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>S&amp;kip Files Already Converted</source>
        <translation>&amp;Bereits konvertierte Dateien überspringen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Images converted before into the output folder with the same settings are left alone</source>
        <translation>Bilder, die bereits mit denselben Einstellungen in den Ausgabeordner konvertiert wurden, werden nicht erneut konvertiert</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Lossless</source>
        <translation>&amp;Verlustfrei</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>No pixel changes: JPEG stays JPEG without re-encoding, or becomes JPEG XL that gives it back byte for byte; PNG, WebP, AVIF and JPEG XL are written losslessly, with colour profile and transparency. Not for HEIC or Auto</source>
        <translation>Keine Pixeländerungen: JPEG bleibt JPEG ohne Neukodierung oder wird zu JPEG XL, aus dem es sich Byte für Byte zurückgewinnen lässt; PNG, WebP, AVIF und JPEG XL werden verlustfrei geschrieben, mit Farbprofil und Transparenz. Nicht für HEIC oder Auto</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Auto Tries JPEG &amp;XL</source>
        <translation>Auto probiert JPEG &amp;XL</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Auto also tries JPEG XL for each image. Not every image viewer opens JPEG XL files yet</source>
        <translation>Auto probiert für jedes Bild auch JPEG XL. Noch öffnet nicht jeder Bildbetrachter JPEG-XL-Dateien</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Auto at &amp;Best Effort</source>
        <translation>Auto mit &amp;höchstem Aufwand</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>When Auto picks AVIF or JPEG XL, the chosen quality is encoded once more with the encoder&apos;s slower setting, and the smaller file that still looks the same is kept. Auto then takes more than twice as long</source>
        <translation>Wenn Auto AVIF oder JPEG XL wählt, wird die gewählte Qualität noch einmal mit der langsameren Einstellung des Encoders kodiert, und die kleinere Datei, die noch gleich aussieht, wird behalten. Auto dauert dann mehr als doppelt so lange</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Check &amp;Quality</source>
        <translation>&amp;Qualität prüfen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Each output is compared with its original and marked by how different it looks</source>
        <translation>Jede Ausgabedatei wird mit ihrem Original verglichen und nach dem sichtbaren Unterschied eingestuft</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>&amp;Minimum Saving</source>
        <translation>&amp;Mindestersparnis</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Any Saving</source>
        <extracomment>an output counts as smaller when it is smaller at all</extracomment>
        <translation>Jede Einsparung</translation>
    </message>
    <message>
        <location line="+3"/>
        <location line="+76"/>
        <source>At Least %1% Smaller</source>
        <extracomment>keep an output only when it is at least this much smaller</extracomment>
        <translation>Mindestens %1% kleiner</translation>
    </message>
    <message>
        <location line="-64"/>
        <source>If an Output Is &amp;Not Smaller</source>
        <extracomment>what happens to an output that is not smaller than its original</extracomment>
        <translation>Wenn eine Ausgabe &amp;nicht kleiner ist</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Keep the &amp;Original</source>
        <translation>&amp;Original behalten</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The original goes to the output folder instead, without camera data unless that is kept</source>
        <translation>Stattdessen kommt das Original in den Ausgabeordner, ohne Kameradaten, sofern diese nicht behalten werden</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Skip the Image</source>
        <translation>Bild &amp;überspringen</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Nothing is written for it</source>
        <translation>Für das Bild wird nichts geschrieben</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Write the Output Anyway</source>
        <translation>Ausgabe trotzdem &amp;schreiben</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The larger output is written all the same</source>
        <translation>Die größere Ausgabe wird trotzdem geschrieben</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <location line="+47"/>
        <source>O&amp;ptions (%1)</source>
        <extracomment>the options button; %1 is how many options differ from their defaults</extracomment>
        <translation>Option&amp;en (%1)</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>O&amp;ptions</source>
        <translation>Option&amp;en</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 on</source>
        <translation>%1 aktiv</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::OutputFolderButton</name>
    <message>
        <location filename="../../src/views/output_folder_button.cpp" line="+19"/>
        <source>Cha&amp;nge Folder</source>
        <extracomment>opens a menu: choose a folder, a recent one, or the default</extracomment>
        <translation>Ordner &amp;ändern</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Change Output Folder</source>
        <translation>Ausgabeordner ändern</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>&amp;Choose Folder…</source>
        <translation>Ordner &amp;wählen …</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Recent Folders</source>
        <translation>Zuletzt verwendete Ordner</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>&amp;Default: compressed/ Next to the First File</source>
        <extracomment>the output folder when none is chosen: a &quot;compressed&quot; folder beside the first listed file</extracomment>
        <translation>&amp;Standard: compressed/ neben der ersten Datei</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::OutputFolderRow</name>
    <message>
        <location filename="../../src/views/output_folder_row.cpp" line="+23"/>
        <source>Output:</source>
        <translation>Ausgabe:</translation>
    </message>
    <message>
        <location line="+40"/>
        <source>compressed/ in %1</source>
        <extracomment>%1 is the folder the &quot;compressed&quot; folder is made in, e.g. ~/Pictures/2023</extracomment>
        <translation>compressed/ in %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>(compressed/ folder next to the first file)</source>
        <translation>(Ordner compressed/ neben der ersten Datei)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Output folder: %1</source>
        <translation>Ausgabeordner: %1</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::PresetsButton</name>
    <message>
        <location filename="../../src/views/presets_button.cpp" line="+27"/>
        <source>Pre&amp;sets</source>
        <extracomment>the menu of saved sets of every setting (format, quality, sizes, names, options)</extracomment>
        <translation>Vorei&amp;nstellungen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Presets</source>
        <translation>Voreinstellungen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Saved sets of every setting but the output folder</source>
        <translation>Gespeicherte Sätze aller Einstellungen außer dem Ausgabeordner</translation>
    </message>
    <message>
        <location line="+60"/>
        <source>&amp;Save Current Settings as Preset…</source>
        <translation>Aktuelle Einstellungen als Voreinstellung &amp;speichern…</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Rename Preset</source>
        <translation>Voreinstellung &amp;umbenennen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Delete Preset</source>
        <translation>Voreinstellung &amp;löschen</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1…</source>
        <extracomment>an entry of the Rename Preset and Delete Preset menus: %1 is a preset&apos;s name</extracomment>
        <translation>%1…</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Built-in presets cannot be renamed or deleted</source>
        <extracomment>tooltip of Rename Preset and Delete Preset while there are only the built-in presets</extracomment>
        <translation>Eingebaute Voreinstellungen können nicht umbenannt oder gelöscht werden</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Name of the preset:</source>
        <translation>Name der Voreinstellung:</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>A preset needs a name.</source>
        <translation>Eine Voreinstellung braucht einen Namen.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>A preset&apos;s name can have at most %1 characters.</source>
        <translation>Der Name einer Voreinstellung darf höchstens %1 Zeichen haben.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>A preset&apos;s name cannot hold line breaks or control characters.</source>
        <translation>Der Name einer Voreinstellung darf keine Zeilenumbrüche oder Steuerzeichen enthalten.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>“%1” is the name of a built-in preset.</source>
        <translation>„%1“ ist der Name einer eingebauten Voreinstellung.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Save Preset</source>
        <translation>Voreinstellung speichern</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>A preset named “%1” exists already. Replace it with the current settings?</source>
        <translation>Eine Voreinstellung namens „%1“ gibt es schon. Durch die aktuellen Einstellungen ersetzen?</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Replace</source>
        <translation>&amp;Ersetzen</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Rename Preset</source>
        <translation>Voreinstellung umbenennen</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Another preset is named “%1” already.</source>
        <translation>Eine andere Voreinstellung heißt schon „%1“.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Delete Preset</source>
        <translation>Voreinstellung löschen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Delete the preset “%1”? The current settings stay as they are.</source>
        <translation>Die Voreinstellung „%1“ löschen? Die aktuellen Einstellungen bleiben, wie sie sind.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::SettingsBar</name>
    <message>
        <location filename="../../src/views/settings_bar.cpp" line="+198"/>
        <source>Format</source>
        <translation>Format</translation>
    </message>
    <message>
        <location line="-144"/>
        <source>WebP: 75 to 85 suits photos; 100 keeps the most detail.</source>
        <translation>WebP: 75 bis 85 eignet sich für Fotos; 100 erhält die meisten Details.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>JPEG: 75 to 85 suits photos; below 50 blocks begin to show.</source>
        <translation>JPEG: 75 bis 85 eignet sich für Fotos; unter 50 werden Blockartefakte sichtbar.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>PNG: quality sets the colours: 64 up to 50, 128 up to 75, 256 above.</source>
        <translation>PNG: Die Qualität bestimmt die Farbzahl: bis 50: 64, bis 75: 128, darüber: 256.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>HEIC: looks like JPEG at the same number, at about half the size.</source>
        <translation>HEIC: sieht beim selben Wert aus wie JPEG, bei etwa halber Dateigröße.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>AVIF: 60 to 80 suits photos; 100 is nearly lossless.</source>
        <translation>AVIF: 60 bis 80 eignet sich für Fotos; 100 ist nahezu verlustfrei.</translation>
    </message>
    <message>
        <location line="+54"/>
        <source>Applies to the next batch</source>
        <extracomment>tooltip of the settings while a batch runs: they are fixed for it</extracomment>
        <translation>Gilt für den nächsten Durchgang</translation>
    </message>
    <message>
        <location line="+59"/>
        <source>For&amp;mat:</source>
        <translation>For&amp;mat:</translation>
    </message>
    <message>
        <location line="-111"/>
        <source>JPEG XL: 75 to 90 suits photos; 90 is what cjxl calls visually lossless.</source>
        <translation>JPEG XL: 75 bis 90 eignet sich für Fotos; 90 nennt cjxl visuell verlustfrei.</translation>
    </message>
    <message>
        <location line="+118"/>
        <source>Smaller than JPEG at the same look, and holds a JPEG without any loss; not every image viewer opens it yet</source>
        <translation>Kleiner als JPEG bei gleichem Aussehen, und nimmt ein JPEG ganz ohne Verlust auf; noch öffnet es nicht jeder Bildbetrachter</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Auto</source>
        <extracomment>format menu: per image, the smallest format that looks the same</extracomment>
        <translation>Auto</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Per image, the smallest of WebP, JPEG, AVIF and PNG that looks the same; quality sets how close</source>
        <translation>Pro Bild das kleinste Format aus WebP, JPEG, AVIF und PNG, das gleich aussieht; die Qualität bestimmt, wie ähnlich</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Same as Original</source>
        <extracomment>format menu: each image stays in its own format</extracomment>
        <translation>Wie Original</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>JPEG stays JPEG, PNG stays PNG, and so on; TIFF, BMP and GIF become PNG</source>
        <translation>JPEG bleibt JPEG, PNG bleibt PNG und so weiter; TIFF, BMP und GIF werden zu PNG</translation>
    </message>
    <message>
        <location line="+30"/>
        <source>&amp;Quality:</source>
        <translation>&amp;Qualität:</translation>
    </message>
    <message>
        <location line="+4"/>
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
        <location line="+14"/>
        <location line="+7"/>
        <source>Quality</source>
        <translation>Qualität</translation>
    </message>
    <message>
        <location filename="../../src/views/settings_bar_rows.cpp" line="+60"/>
        <source>Resi&amp;ze</source>
        <translation>&amp;Größe ändern</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Max &amp;width:</source>
        <translation>Max. &amp;Breite:</translation>
    </message>
    <message>
        <location line="+57"/>
        <source>&amp;Original</source>
        <translation>&amp;Original</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>C&amp;ustom</source>
        <translation>E&amp;igener</translation>
    </message>
    <message>
        <location line="+34"/>
        <source>Star&amp;t:</source>
        <translation>Star&amp;t:</translation>
    </message>
    <message>
        <location line="-57"/>
        <source>px</source>
        <translation>px</translation>
    </message>
    <message>
        <location filename="../../src/views/settings_bar.cpp" line="-178"/>
        <source>Auto: each image as small as it can be while it looks %1 (scoring %2 or more).</source>
        <extracomment>%1: e.g. &quot;very close&quot;; %2: the lowest score allowed (of 100), e.g. 80</extracomment>
        <translation>Auto: jedes Bild so klein wie möglich, solange das Aussehen „%1“ bleibt (Bewertung %2 oder mehr).</translation>
    </message>
    <message>
        <location filename="../../src/views/settings_bar_rows.cpp" line="-36"/>
        <source>Maximum width</source>
        <translation>Maximale Breite</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Maximum height</source>
        <translation>Maximale Höhe</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Max hei&amp;ght:</source>
        <translation>Ma&amp;x. Höhe:</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>any</source>
        <extracomment>shown in an empty size field</extracomment>
        <translation>beliebig</translation>
    </message>
    <message>
        <location line="+26"/>
        <source>Filename:</source>
        <translation>Dateiname:</translation>
    </message>
    <message>
        <location line="+33"/>
        <source>Prefi&amp;x:</source>
        <translation>&amp;Präfix:</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Prefix</source>
        <translation>Präfix</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Start number</source>
        <translation>Startnummer</translation>
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
        <source>(compressed/ folder next to the first file)</source>
        <translation>(Ordner compressed/ neben der ersten Datei)</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::SummaryView</name>
    <message>
        <location filename="../../src/views/summary_view.cpp" line="+57"/>
        <source>Conversion progress</source>
        <translation>Konvertierungsfortschritt</translation>
    </message>
    <message>
        <location line="+49"/>
        <source>less than a minute left</source>
        <translation>noch weniger als eine Minute</translation>
    </message>
    <message numerus="yes">
        <location line="+4"/>
        <source>about %n seconds left</source>
        <translation>
            <numerusform>noch etwa %n Sek.</numerusform>
            <numerusform>noch etwa %n Sek.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>about %n min left</source>
        <translation>
            <numerusform>noch etwa %n Min.</numerusform>
            <numerusform>noch etwa %n Min.</numerusform>
        </translation>
    </message>
    <message>
        <location line="+12"/>
        <source>%1 of %2 converted</source>
        <translation>%1 von %2 konvertiert</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 failed</source>
        <translation>%1 fehlgeschlagen</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 skipped</source>
        <extracomment>images not kept (too little saving) or converted before</extracomment>
        <translation>%1 übersprungen</translation>
    </message>
    <message numerus="yes">
        <location line="+5"/>
        <source>%n original(s) kept</source>
        <extracomment>images whose converted file would have been larger: the original was kept</extracomment>
        <translation>
            <numerusform>%n Original behalten</numerusform>
            <numerusform>%n Originale behalten</numerusform>
        </translation>
    </message>
    <message>
        <location line="+35"/>
        <source>%1 of %2</source>
        <extracomment>the batch&apos;s progress for screen readers, e.g. &quot;3 of 20&quot;</extracomment>
        <translation>%1 von %2</translation>
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
