<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>ConversionError</name>
    <message>
        <location filename="../../src/services/conversion_errors.cpp" line="+20"/>
        <source>Cancelled</source>
        <translation>キャンセルされました</translation>
    </message>
    <message>
        <location line="+49"/>
        <source>%1 was stopped by signal %2 (%3)</source>
        <extracomment>%1 is an encoder program such as cwebp, %2 a signal number, %3 its name</extracomment>
        <translation>%1 がシグナル %2 (%3) により停止しました</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 could not convert the image (exit status %2)</source>
        <extracomment>%1 is an encoder program such as cwebp, %2 its exit status</extracomment>
        <translation>%1 で画像を変換できませんでした (終了ステータス %2)</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Image decoding failed</source>
        <translation>画像のデコードに失敗しました</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>BMP export failed</source>
        <translation>BMP の書き出しに失敗しました</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Output file was not created</source>
        <translation>出力ファイルが作成されませんでした</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The file is empty</source>
        <translation>ファイルが空です</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The file is no longer there</source>
        <translation>ファイルが存在しなくなりました</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Not an image, or a kind this program cannot read</source>
        <translation>画像ではないか、このプログラムでは読み込めない種類の画像です</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>The image data is damaged</source>
        <translation>画像データが破損しています</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Image too large (%1 × %2 pixels; the limit is %3 pixels)</source>
        <extracomment>%1 x %2 is the image&apos;s size in pixels, %3 the largest pixel count allowed</extracomment>
        <translation>画像が大きすぎます (%1 × %2 ピクセル、上限は %3 ピクセル)</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>%1 cannot hold an image of %2 × %3 pixels (%4)</source>
        <extracomment>%1 is a format such as WebP, %2 x %3 the output&apos;s size, %4 why it does not fit</extracomment>
        <translation>%1 では %2 × %3 ピクセルの画像を保存できません (%4)</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>%1 image sequences are not supported</source>
        <extracomment>%1 is HEIF or AVIF</extracomment>
        <translation>%1 の画像シーケンスには対応していません</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>This %1 image is put together in a way the installed HEIF library cannot read</source>
        <extracomment>%1 is HEIF or AVIF. The image is put together from parts (turned, cropped, tiled).</extracomment>
        <translation>この %1 画像は、インストールされている HEIF ライブラリでは読めない方法で組み立てられています</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>The encoder wrote a file that cannot be read back</source>
        <translation>エンコーダーが書き出したファイルを読み込めません</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>No space left on the device</source>
        <translation>デバイスに空き容量がありません</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The disk quota is used up</source>
        <translation>ディスクのクォータを使い切りました</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Permission denied</source>
        <translation>アクセス権がありません</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The disk is read-only</source>
        <translation>ディスクが読み取り専用です</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>No such file or folder</source>
        <translation>ファイルまたはフォルダーが見つかりません</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The name is too long</source>
        <translation>名前が長すぎます</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>No free name is left</source>
        <translation>使用できる名前が残っていません</translation>
    </message>
    <message>
        <location line="+28"/>
        <source>Cannot read the file</source>
        <translation>ファイルを読み込めません</translation>
    </message>
    <message>
        <location line="+6"/>
        <location filename="../../src/services/image_converter.cpp" line="+239"/>
        <location filename="../../src/services/roads/png_road.cpp" line="+21"/>
        <location filename="../../src/services/roads/road.cpp" line="+50"/>
        <location filename="../../src/services/staged_output.cpp" line="+30"/>
        <source>Cannot write the output file</source>
        <translation>出力ファイルに書き込めません</translation>
    </message>
    <message>
        <location filename="../../src/services/process_runner.cpp" line="+221"/>
        <source>Cannot start %1</source>
        <translation>%1 を起動できません</translation>
    </message>
    <message>
        <location filename="../../src/services/conversion_errors.cpp" line="-82"/>
        <location line="+50"/>
        <location filename="../../src/services/run_conversion.cpp" line="+213"/>
        <source>Not enough memory</source>
        <translation>メモリが不足しています</translation>
    </message>
    <message>
        <location filename="../../src/services/run_conversion.cpp" line="+6"/>
        <source>Conversion failed</source>
        <translation>変換に失敗しました</translation>
    </message>
    <message>
        <location filename="../../src/services/file_service.cpp" line="+84"/>
        <location line="+136"/>
        <source>Cannot choose an output name</source>
        <translation>出力ファイル名を決められません</translation>
    </message>
    <message>
        <location filename="../../src/services/temporary_files.cpp" line="+87"/>
        <source>Cannot create a temporary folder</source>
        <translation>一時フォルダーを作成できません</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Cannot create a temporary file</source>
        <translation>一時ファイルを作成できません</translation>
    </message>
    <message>
        <location filename="../../src/services/format_limits.cpp" line="+75"/>
        <source>its sides are at most %1 pixels</source>
        <extracomment>why a format cannot hold an image, e.g. &quot;its sides are at most 16,383 pixels&quot;</extracomment>
        <translation>辺の長さの上限は %1 ピクセルです</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>it needs a short side of %1 pixels or more once the long side reaches %2</source>
        <extracomment>why a format cannot hold an image</extracomment>
        <translation>長辺が %2 以上の場合、短辺は %1 ピクセル以上必要です</translation>
    </message>
    <message>
        <location filename="../../src/services/roads/jxl_road.cpp" line="+61"/>
        <source>The JPEG XL file does not give the original JPEG back byte for byte, so it was not written</source>
        <translation>JPEG XL ファイルから元の JPEG がバイト単位で完全には戻らないため、書き出しませんでした</translation>
    </message>
    <message>
        <location line="+53"/>
        <location filename="../../src/services/roads/road.cpp" line="+17"/>
        <location filename="../../src/services/roads/tool_inputs.cpp" line="+73"/>
        <source>Cannot write a temporary file</source>
        <translation>一時ファイルに書き込めません</translation>
    </message>
    <message>
        <location filename="../../src/services/image_converter.cpp" line="-168"/>
        <source>Cannot create the output folder</source>
        <translation>出力フォルダーを作成できません</translation>
    </message>
    <message>
        <location line="+34"/>
        <source>JPEG XL needs the programs of libjxl-tools: %1</source>
        <extracomment>%1 says which program is missing and where it was looked for</extracomment>
        <translation>JPEG XL には libjxl-tools のプログラムが必要です: %1</translation>
    </message>
    <message>
        <location filename="../../src/services/lossless_error.cpp" line="+13"/>
        <source>Lossless cannot be combined with Auto: choose a format, or Same as Original</source>
        <translation>ロスレスは自動と組み合わせられません: 形式を選ぶか、「元と同じ」を選んでください</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Lossless HEIC is not available: the HEIC encoder cannot keep every pixel. Choose PNG, WebP or AVIF, or turn Lossless off</source>
        <translation>ロスレスHEICは利用できません: HEICエンコーダーはすべてのピクセルを保てません。PNG、WebP、AVIFを選ぶか、ロスレスをオフにしてください</translation>
    </message>
    <message>
        <location line="+37"/>
        <source>The output is not lossless: the pixel at %1, %2 changed</source>
        <extracomment>%1, %2: the column and row of the first pixel that changed</extracomment>
        <translation>出力はロスレスではありません: %1, %2 のピクセルが変化しました</translation>
    </message>
    <message>
        <location filename="../../src/services/roads/jpeg_road.cpp" line="+29"/>
        <source>Lossless JPEG needs a complete JPEG at its own size: choose PNG or WebP, or Same as Original</source>
        <translation>ロスレスJPEGには元のサイズの完全なJPEGが必要です: PNGかWebP、または「元と同じ」を選んでください</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>This JPEG is stored turned, and turning it upright changes pixels: choose PNG or WebP for it</source>
        <translation>このJPEGは回転した状態で保存されており、正立させるとピクセルが変わります: PNGかWebPを選んでください</translation>
    </message>
</context>
<context>
    <name>ConversionNote</name>
    <message>
        <location filename="../../src/services/roads/road.cpp" line="-29"/>
        <source>Transparent areas filled with white</source>
        <extracomment>shown under a converted image that had transparent areas</extracomment>
        <translation>透明部分を白で塗りつぶしました</translation>
    </message>
    <message>
        <location filename="../../src/services/carried_metadata.cpp" line="+16"/>
        <source>Colour profile ignored: it does not fit the image</source>
        <extracomment>shown under a converted image whose embedded profile is for another kind of image (a grey profile on colour pixels)</extracomment>
        <translation>カラープロファイルを無視しました: 画像に合っていません</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>XMP not kept: %1 is more than the %2 carried</source>
        <extracomment>shown under a converted image; %1 and %2 are sizes such as &quot;16.8 MB&quot;</extracomment>
        <translation>XMP は保持されません: %1 は保持できる %2 を超えています</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Colour profile converted to sRGB (the embedded one is malformed)</source>
        <extracomment>shown under a converted image whose RGB profile is damaged</extracomment>
        <translation>カラープロファイルを sRGB に変換しました (埋め込まれたものが不正です)</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Colour profile converted to sRGB (only RGB profiles can be kept)</source>
        <extracomment>shown under a converted image when its colour profile could not be kept</extracomment>
        <translation>カラープロファイルを sRGB に変換しました (保持できるのは RGB プロファイルのみ)</translation>
    </message>
    <message>
        <location filename="../../src/services/saving_policy.cpp" line="+20"/>
        <source>Skipped: not smaller than the original</source>
        <translation>スキップ: 元のファイルより小さくなりません</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Skipped: %1% larger than the original</source>
        <extracomment>%1 is a whole percentage</extracomment>
        <translation>スキップ: 元のファイルより %1% 大きくなります</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Skipped: only %1% smaller, minimum %2%</source>
        <extracomment>%1 is the saving, %2 the minimum asked for, both whole percentages</extracomment>
        <translation>スキップ: %1% しか小さくなりません (最小 %2%)</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Kept the original: the %1 would not be smaller</source>
        <extracomment>%1 is a format, e.g. &quot;WebP&quot;</extracomment>
        <translation>元のファイルを保持: %1 では小さくなりません</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Kept the original: the %1 would be %2% larger</source>
        <extracomment>%1 is a format, e.g. &quot;WebP&quot;; %2 a whole percentage</extracomment>
        <translation>元のファイルを保持: %1 では %2% 大きくなります</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Kept the original: the %1 would be only %2% smaller (minimum %3%)</source>
        <extracomment>%1 is a format; %2 the saving, %3 the minimum asked for, both whole percentages</extracomment>
        <translation>元のファイルを保持: %1 では %2% しか小さくなりません (最小 %3%)</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>%1% larger than the original</source>
        <extracomment>%1 is a whole percentage</extracomment>
        <translation>元より %1% 大きい</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>only %1% smaller (minimum %2%)</source>
        <extracomment>%1 is the saving, %2 the minimum asked for, both whole percentages</extracomment>
        <translation>%1% しか小さくない (最小 %2%)</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>%1, and a copy of the original would carry its camera data</source>
        <extracomment>%1 says why, e.g. &quot;Skipped: 12% larger than the original&quot;</extracomment>
        <translation>%1。元のファイルのコピーにはカメラのデータが含まれてしまいます</translation>
    </message>
    <message>
        <location filename="../../src/services/run_conversion.cpp" line="-165"/>
        <source>The file date could not be kept: %1</source>
        <extracomment>shown under a converted image</extracomment>
        <translation>ファイルの日時を保持できませんでした: %1</translation>
    </message>
    <message>
        <location filename="../../src/services/left_out_notes.cpp" line="+18"/>
        <source>EXIF not kept: %1 is more than a %2 holds (%3)</source>
        <extracomment>shown under a converted image; %1 and %3 are sizes such as &quot;70.0 kB&quot;, %2 a format such as &quot;JPEG&quot;</extracomment>
        <translation>EXIF は保持されません: %1 は %2 に入る量 (%3) を超えています</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>XMP not kept: %1 is more than a %2 holds (%3) and it holds no XMP element to split off</source>
        <extracomment>shown under a converted image; %1 and %3 are sizes, %2 a format such as &quot;JPEG&quot;</extracomment>
        <translation>XMP は保持されません: %1 は %2 に入る量 (%3) を超えており、分割できる XMP 要素がありません</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Colour profile not kept: %1 is more than a %2 holds (%3); colours converted to sRGB</source>
        <extracomment>shown under a converted image; %1 and %3 are sizes, %2 a format such as &quot;JPEG&quot;</extracomment>
        <translation>カラープロファイルは保持されません: %1 は %2 に入る量 (%3) を超えています。色は sRGB に変換しました</translation>
    </message>
    <message>
        <location filename="../../src/services/hdr_output.cpp" line="+20"/>
        <source>HDR (PQ) image tone-mapped to SDR (sRGB)</source>
        <extracomment>shown under a converted image: a high dynamic range (HDR) photo made fit for ordinary screens</extracomment>
        <translation>HDR（PQ）画像を SDR（sRGB）にトーンマッピングしました</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>HDR (HLG) image tone-mapped to SDR (sRGB)</source>
        <extracomment>shown under a converted image: a high dynamic range (HDR) photo made fit for ordinary screens</extracomment>
        <translation>HDR（HLG）画像を SDR（sRGB）にトーンマッピングしました</translation>
    </message>
    <message>
        <location filename="../../src/services/roads/jxl_road.cpp" line="-33"/>
        <source>Camera data kept: the original JPEG comes back byte for byte</source>
        <extracomment>shown under a JPEG recompressed reversibly to JPEG XL</extracomment>
        <translation>カメラデータを保持: 元の JPEG をバイト単位でそのまま戻せます</translation>
    </message>
    <message>
        <location filename="../../src/services/fit_under.cpp" line="+114"/>
        <source>%1 at %2 to fit under %3</source>
        <extracomment>%1 is a format (&quot;WebP&quot;), %2 a quality (0-100), %3 a size (&quot;200.0 kB&quot;)</extracomment>
        <translation>%3 以下に収めるため %1 を品質 %2 で作成</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 at %2 fits under %3</source>
        <translation>%1 (品質 %2) で %3 以下に収まりました</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Does not fit under %1 even at quality %2</source>
        <extracomment>%1 is a size (&quot;200.0 kB&quot;), %2 the lowest quality (0)</extracomment>
        <translation>品質 %2 でも %1 以下に収まりません</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Does not fit under %1: this format has no quality to lower</source>
        <extracomment>%1 is a size (&quot;200.0 kB&quot;); PNG and lossless outputs have no quality to lower</extracomment>
        <translation>%1 以下に収まりません: この形式には下げられる品質がありません</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Lossless outputs cannot be made smaller to fit under %1: each is written as usual, and one over it is marked as not fitting</source>
        <extracomment>%1 is a size (&quot;200.0 kB&quot;)</extracomment>
        <translation>ロスレスの出力は %1 以下に収めるために小さくできません: 通常どおり書き出し、超えたものは「収まらない」と表示します</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>PNG outputs are not made smaller to fit under %1 (their quality only sets the palette): one over it is marked as not fitting</source>
        <extracomment>%1 is a size (&quot;200.0 kB&quot;)</extracomment>
        <translation>PNG の出力は %1 以下に収めるために小さくしません (品質はパレットを決めるだけです): 超えたものは「収まらない」と表示します</translation>
    </message>
</context>
<context>
    <name>DesktopIntegration</name>
    <message>
        <location filename="../../src/app/qt_desktop_integration.cpp" line="+55"/>
        <source>Cannot Open the Folder</source>
        <translation>フォルダーを開けません</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>No program to show folders is set up on this system. The outputs are in:
%1</source>
        <translation>このシステムにはフォルダーを表示するプログラムが設定されていません。出力先:
%1</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Cannot Open the File</source>
        <translation>ファイルを開けません</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>No program to open this file is set up on this system:
%1</source>
        <translation>このシステムにはこのファイルを開くプログラムが設定されていません:
%1</translation>
    </message>
</context>
<context>
    <name>FileDialogs</name>
    <message>
        <location filename="../../src/views/file_dialogs.cpp" line="+54"/>
        <source>Images (%1)</source>
        <translation>画像 (%1)</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Add Files</source>
        <translation>ファイルを追加</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>CSV spreadsheet (*.csv)</source>
        <translation>CSV スプレッドシート (*.csv)</translation>
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
        <translation>レポートの書き出し</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The report could not be saved: %1</source>
        <translation>レポートを保存できませんでした: %1</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Add Folder</source>
        <translation>フォルダーを追加</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Choose Output Folder</source>
        <translation>出力フォルダーを選択</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>%1 cannot be written to (%2). Choose another folder.</source>
        <extracomment>%1 the folder, %2 the system&apos;s reason, such as &quot;Permission denied&quot;</extracomment>
        <translation>%1 に書き込めません (%2)。別のフォルダーを選択してください。</translation>
    </message>
</context>
<context>
    <name>Preset</name>
    <message>
        <location filename="../../src/models/preset.cpp" line="+45"/>
        <source>Web: WebP, 1920 px</source>
        <translation>Web: WebP、1920 px</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Email: JPEG, 1280 px, under 500 kB</source>
        <translation>メール: JPEG、1280 px、500 kB 未満</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Archive: lossless</source>
        <translation>アーカイブ: ロスレス</translation>
    </message>
</context>
<context>
    <name>QualityVerdict</name>
    <message>
        <location filename="../../src/models/quality_verdict.cpp" line="+18"/>
        <source>identical to the eye</source>
        <extracomment>how an output compares with its original, to the eye</extracomment>
        <translation>見分けがつかない</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>very close</source>
        <translation>ほぼ同じ</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>visible on close look</source>
        <translation>よく見ると違いがわかる</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>visibly changed</source>
        <translation>明らかに変化</translation>
    </message>
</context>
<context>
    <name>QuantizeError</name>
    <message>
        <location filename="../../src/services/png_quantizer.cpp" line="+14"/>
        <source>Image decoding failed</source>
        <translation>画像のデコードに失敗しました</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Pixel buffer creation failed</source>
        <translation>ピクセルバッファーの作成に失敗しました</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Color quantization failed</source>
        <translation>減色処理に失敗しました</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>PNG write failed</source>
        <translation>PNG の書き込みに失敗しました</translation>
    </message>
</context>
<context>
    <name>ToolError</name>
    <message>
        <location filename="../../src/services/tool_manager.cpp" line="+44"/>
        <source>App bundle resource path not found.</source>
        <translation>アプリのリソースフォルダーが見つかりません。</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>CLI tool &apos;%1&apos; not found. Place binaries in %2/.</source>
        <extracomment>%1 is a program name such as cwebp, %2 the folder searched for it</extracomment>
        <translation>コマンドラインツール「%1」が見つかりません。実行ファイルを %2/ に配置してください。</translation>
    </message>
</context>
<context>
    <name>quorvane::core</name>
    <message>
        <location filename="../../src/services/conversion_ledger.cpp" line="+91"/>
        <source>The record of earlier conversions in %1 is not a regular file; it is left alone.</source>
        <translation>%1 の以前の変換の記録は通常のファイルではありません。そのままにします。</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The record of earlier conversions in %1 is too large to read; it is left alone.</source>
        <translation>%1 の以前の変換の記録は大きすぎて読み込めません。そのままにします。</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The record of earlier conversions in %1 could not be read: %2</source>
        <translation>%1 の以前の変換の記録を読み込めませんでした: %2</translation>
    </message>
</context>
<context>
    <name>quorvane::core::ConversionLedger</name>
    <message>
        <location line="+117"/>
        <source>The record of earlier conversions in %1 is damaged; what could not be read is ignored.</source>
        <translation>%1 の以前の変換の記録が壊れています。読み込めない部分は無視します。</translation>
    </message>
    <message>
        <location line="+73"/>
        <source>The record of conversions in %1 could not be saved: %2</source>
        <translation>%1 の変換の記録を保存できませんでした: %2</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>The record of conversions in %1 could not be saved: another conversion kept it locked.</source>
        <translation>%1 の変換の記録を保存できませんでした: 別の変換がロックしていました。</translation>
    </message>
</context>
<context>
    <name>quorvane::core::ConversionViewModel</name>
    <message>
        <location filename="../../src/viewmodels/conversion_view_model_batch.cpp" line="+251"/>
        <source>Cancelling conversion</source>
        <translation>変換をキャンセルしています</translation>
    </message>
    <message>
        <location line="+57"/>
        <source>Already converted</source>
        <translation>変換済み</translation>
    </message>
    <message>
        <location line="+34"/>
        <source>Images converted: %1</source>
        <translation>変換した画像: %1 枚</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 failed</source>
        <translation>%1 件失敗</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Conversion finished</source>
        <translation>変換が完了しました</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::CheckForUpdatesViewModel</name>
    <message>
        <location filename="../../src/app/check_for_updates_view_model.cpp" line="+110"/>
        <source>The update server did not answer in time.</source>
        <translation>アップデートサーバーから時間内に応答がありませんでした。</translation>
    </message>
    <message>
        <location line="+3"/>
        <location line="+21"/>
        <source>The update information could not be read.</source>
        <translation>アップデート情報を読み取れませんでした。</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>The version of this copy of Quorvane is unknown.</source>
        <translation>この Quorvane のバージョンが不明です。</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::CompareCanvas</name>
    <message>
        <location filename="../../src/views/compare_canvas.cpp" line="+28"/>
        <source>Original and output</source>
        <translation>元画像と出力</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Arrow keys move the picture; plus and minus zoom; comma and period move the split line</source>
        <translation>矢印キーで画像を移動、プラスとマイナスで拡大縮小、カンマとピリオドで境界線を移動</translation>
    </message>
    <message>
        <location line="+170"/>
        <source>Original</source>
        <translation>元画像</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Output</source>
        <translation>出力</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::CompareView</name>
    <message>
        <location filename="../../src/views/compare_view.cpp" line="+40"/>
        <source>Compare</source>
        <translation>比較</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Compare original and output</source>
        <translation>元画像と出力を比較</translation>
    </message>
    <message>
        <location line="+55"/>
        <source>&amp;Fit</source>
        <translation>全体表示(&amp;F)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Show the whole picture (Ctrl+0)</source>
        <translation>画像全体を表示 (Ctrl+0)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;100 %</source>
        <translation>&amp;100 %</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>One pixel of the output per screen pixel (Ctrl+1)</source>
        <translation>出力の 1 ピクセルを画面の 1 ピクセルで表示 (Ctrl+1)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Zoom to 100 %</source>
        <translation>100 % に拡大</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;200 %</source>
        <translation>&amp;200 %</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Two screen pixels per pixel of the output (Ctrl+2)</source>
        <translation>出力の 1 ピクセルを画面の 2 ピクセルで表示 (Ctrl+2)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Zoom to 200 %</source>
        <translation>200 % に拡大</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>&amp;Side by Side</source>
        <translation>左右に並べる(&amp;S)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Both pictures beside each other instead of a split line</source>
        <translation>境界線の代わりに 2 枚の画像を左右に並べて表示</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>&amp;Difference Map</source>
        <translation>差分マップ(&amp;D)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Colours where the quality check sees the output differ: yellow a little, red most</source>
        <translation>品質チェックが出力の違いを検出した箇所を着色: 黄色はわずか、赤は大きな違い</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>&amp;Quality:</source>
        <translation>品質(&amp;Q):</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Quality to try</source>
        <translation>試す品質</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Encodes this image again at another quality, to see it here</source>
        <translation>この画像を別の品質で再エンコードしてここに表示</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>&amp;Use This Quality</source>
        <translation>この品質を使う(&amp;U)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Converts this image again at the quality shown and keeps it for this image</source>
        <translation>表示中の品質でこの画像を再変換し、この画像の品質として保持</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>Original: %1, %2</source>
        <translation>元画像: %1、%2</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Original: %1, %2 × %3, %4</source>
        <translation>元画像: %1、%2 × %3、%4</translation>
    </message>
    <message>
        <location line="+28"/>
        <source>%1 % smaller</source>
        <translation>%1 % 縮小</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>%1 % larger</source>
        <translation>%1 % 増加</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 (score %2)</source>
        <translation>%1 (スコア %2)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>quality not checked</source>
        <translation>品質は未確認</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Trial: %1 at quality %2, %3, %4, %5</source>
        <translation>試行: %1 品質 %2、%3、%4、%5</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Output: %1 at quality %2, %3, %4, %5</source>
        <translation>出力: %1 品質 %2、%3、%4、%5</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>Encoding at quality %1…</source>
        <translation>品質 %1 でエンコード中…</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Decoding…</source>
        <translation>デコード中…</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Measuring the difference…</source>
        <translation>差分を測定中…</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Decoding at full size…</source>
        <translation>原寸でデコード中…</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>%1 %</source>
        <translation>%1 %</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Zoom %1 %</source>
        <translation>倍率 %1 %</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>In Auto the quality is the look to reach: choose a format to set one for an image</source>
        <translation>自動では品質は目標の見た目です。画像ごとに設定するには形式を選んでください</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::ContentView</name>
    <message>
        <location filename="../../src/views/content_view.cpp" line="+75"/>
        <source>Images in output folders, left out: %1</source>
        <translation>出力フォルダー内の画像は追加しませんでした: %1 枚</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Locations that could not be read: %1, such as %2 (%3)</source>
        <extracomment>%1 is how many, %2 the first of them, %3 why it could not be read</extracomment>
        <translation>読み込めなかった場所: %1 か所。例: %2 (%3)</translation>
    </message>
    <message>
        <location line="+32"/>
        <source>Comp&amp;are</source>
        <translation>比較(&amp;A)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Original and output of the selected image side by side (Space)</source>
        <translation>選択した画像の元画像と出力を並べて表示 (Space)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Compare the selected image</source>
        <translation>選択した画像を比較</translation>
    </message>
    <message>
        <location line="+48"/>
        <source>Op&amp;en in File Manager</source>
        <translation>ファイルマネージャーで開く(&amp;E)</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>C&amp;lear</source>
        <translation>クリア(&amp;L)</translation>
    </message>
    <message>
        <location line="+35"/>
        <source>Start &amp;Conversion</source>
        <extracomment>the main button while images wait; the same mnemonic as &quot;&amp;Convert All Again&quot;</extracomment>
        <translation>変換を開始(&amp;C)</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>&amp;Convert All Again</source>
        <extracomment>the main button once every image is finished; the same mnemonic as &quot;Start &amp;Conversion&quot;</extracomment>
        <translation>すべてもう一度変換(&amp;C)</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Output Folder Cannot Be Written</source>
        <translation>出力フォルダーに書き込めません</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Nothing was converted: %1 cannot be written to (%2).</source>
        <extracomment>%1 the folder, %2 the system&apos;s reason, such as &quot;Permission denied&quot;</extracomment>
        <translation>何も変換されませんでした: %1 に書き込めません (%2)。</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Choose another folder for the outputs, or make this one writable and start again.</source>
        <translation>出力先に別のフォルダーを選ぶか、このフォルダーを書き込み可能にしてからもう一度開始してください。</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>C&amp;hoose Another Folder…</source>
        <translation>別のフォルダーを選択(&amp;H)…</translation>
    </message>
    <message>
        <location line="+93"/>
        <source>Cancelling…</source>
        <translation>キャンセル中…</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Cancelling conversion</source>
        <translation>変換をキャンセルしています</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Cancel conversion</source>
        <translation>変換をキャンセル</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::DropZoneCompact</name>
    <message>
        <location filename="../../src/views/drop_zone_compact.cpp" line="+16"/>
        <source>Drop image files here</source>
        <translation>ここに画像ファイルをドロップ</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Add images (drag &amp; drop)</source>
        <translation>画像を追加（ドラッグ＆ドロップ）</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Add F&amp;iles…</source>
        <translation>ファイルを追加(&amp;I)…</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Add Fol&amp;der…</source>
        <translation>フォルダーを追加(&amp;D)…</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::DropZoneView</name>
    <message>
        <location filename="../../src/views/drop_zone_view.cpp" line="+20"/>
        <source>Drop image files here</source>
        <translation>ここに画像ファイルをドロップ</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Drag &amp; drop images here</source>
        <translation>ここに画像をドラッグ＆ドロップ</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>or</source>
        <translation>または</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Select F&amp;iles</source>
        <translation>ファイルを選択(&amp;I)</translation>
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
        <translation>ファイル</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Convert</source>
        <translation>変換</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Size</source>
        <translation>サイズ</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Ratio</source>
        <translation>削減率</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Looks</source>
        <extracomment>column header: how the output compares with its original to the eye</extracomment>
        <translation>見た目</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Status</source>
        <translation>状態</translation>
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
        <translation>スコアは 100 点中 %1 です。%2 以上なら違いは見えません。</translation>
    </message>
    <message>
        <location line="+15"/>
        <location line="+6"/>
        <source>Waiting</source>
        <translation>待機中</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Converting</source>
        <translation>変換中</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Done</source>
        <translation>完了</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Skipped</source>
        <translation>スキップ</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Original kept</source>
        <translation>元のファイルを保持</translation>
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
        <translation>変換中…</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Auto</source>
        <extracomment>the format Auto picks per image</extracomment>
        <translation>自動</translation>
    </message>
    <message>
        <location line="+151"/>
        <source>Error</source>
        <translation>エラー</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::FileListView</name>
    <message>
        <location filename="../../src/views/file_list_view.cpp" line="+27"/>
        <source>Images</source>
        <translation>画像</translation>
    </message>
    <message>
        <location line="+58"/>
        <source>Waiting</source>
        <translation>待機中</translation>
    </message>
    <message>
        <location line="+57"/>
        <source>&amp;Open</source>
        <translation>開く(&amp;O)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Com&amp;pare</source>
        <translation>比較(&amp;P)</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Show in File &amp;Manager</source>
        <translation>ファイルマネージャーで表示(&amp;M)</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Convert &amp;All Again</source>
        <translation>すべてもう一度変換(&amp;A)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Convert Again at &amp;Higher Quality</source>
        <translation>より高い品質でもう一度変換(&amp;H)</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>&amp;Retry Failed</source>
        <translation>失敗した画像を再試行(&amp;R)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Remove &amp;Finished</source>
        <translation>完了済みをリストから削除(&amp;F)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Remove From &amp;List</source>
        <translation>リストから削除(&amp;L)</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::FitUnderMenu</name>
    <message>
        <location filename="../../src/views/fit_under_menu.cpp" line="+27"/>
        <source>Each image is encoded at the highest quality, up to the one set, whose file is no larger. PNG and Lossless outputs have no quality to lower: they are only checked</source>
        <translation>各画像を、設定した品質を上限に、ファイルがこのサイズを超えない最も高い品質でエンコードします。PNG とロスレスの出力には下げられる品質がないため、確認だけを行います</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>&amp;No Limit</source>
        <extracomment>the size limit is off</extracomment>
        <translation>制限なし(&amp;N)</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>&amp;Other Size…</source>
        <translation>その他のサイズ(&amp;O)…</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Largest file size, in bytes or with k (1000 bytes) or M (1,000,000 bytes), e.g. 200k or 1.5M:</source>
        <translation>最大ファイルサイズ (バイト、または k = 1000 バイト、M = 1,000,000 バイト。例: 200k、1.5M):</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Fit Under</source>
        <translation>ファイルサイズの上限</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>“%1” is not a size from 1 byte to 1G. Type e.g. 200k or 1.5M:</source>
        <extracomment>shown again in the dialog after a size it cannot read</extracomment>
        <translation>「%1」は 1 バイトから 1G までのサイズではありません。200k や 1.5M のように入力してください:</translation>
    </message>
    <message>
        <location line="+24"/>
        <source>Fit &amp;Under: %1</source>
        <extracomment>in the Options menu; %1 is the size limit in force (&quot;200.0 kB&quot;)</extracomment>
        <translation>ファイルサイズの上限: %1(&amp;U)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Fit &amp;Under</source>
        <translation>ファイルサイズの上限(&amp;U)</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::MainWindow</name>
    <message>
        <location filename="../../src/app/quorvane_app.cpp" line="+41"/>
        <source>Quit Quorvane?</source>
        <translation>Quorvane を終了しますか?</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>A conversion is running. Quitting cancels it; the images converted so far are kept.</source>
        <translation>変換を実行中です。終了すると変換はキャンセルされますが、変換済みの画像はそのまま残ります。</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Cancel and &amp;Quit</source>
        <translation>キャンセルして終了(&amp;Q)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Keep Converting</source>
        <translation>変換を続ける(&amp;K)</translation>
    </message>
    <message>
        <location line="+37"/>
        <source>&amp;File</source>
        <translation>ファイル(&amp;F)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Add &amp;Files…</source>
        <translation>ファイルを追加(&amp;F)…</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Add F&amp;older…</source>
        <translation>フォルダーを追加(&amp;O)…</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Export &amp;Report…</source>
        <translation>レポートを書き出す(&amp;R)…</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>&amp;Settings…</source>
        <translation>設定(&amp;S)…</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>&amp;Quit</source>
        <translation>終了(&amp;Q)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Help</source>
        <translation>ヘルプ(&amp;H)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Check for Updates…</source>
        <translation>アップデートを確認…</translation>
    </message>
    <message>
        <location line="+9"/>
        <location line="+33"/>
        <source>About Quorvane</source>
        <translation>Quorvane について</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&lt;h3&gt;Quorvane %1&lt;/h3&gt;&lt;p&gt;Makes image files smaller: WebP, JPEG, PNG, HEIC, AVIF and JPEG XL, several at a time.&lt;/p&gt;</source>
        <translation>&lt;h3&gt;Quorvane %1&lt;/h3&gt;&lt;p&gt;画像ファイルを小さくします。WebP、JPEG、PNG、HEIC、AVIF、JPEG XL に対応し、複数のファイルをまとめて変換できます。&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::OptionsButton</name>
    <message>
        <location filename="../../src/views/options_button.cpp" line="+24"/>
        <source>Keep Camera &amp;Data</source>
        <translation>カメラ情報を保持(&amp;D)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Camera, lens, date, GPS position and copyright (EXIF and XMP) stay in the output</source>
        <translation>カメラ、レンズ、日時、GPS 位置情報、著作権情報 (EXIF と XMP) を出力ファイルに残します</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Keep Colour &amp;Profile</source>
        <translation>カラープロファイルを保持(&amp;P)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Wide-gamut photos (Display P3, Adobe RGB) keep their profile and colours</source>
        <translation>広色域の写真 (Display P3、Adobe RGB) のプロファイルと色をそのまま保ちます</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Keep &amp;Transparency in PNG</source>
        <translation>PNG の透明部分を保持(&amp;T)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>PNG outputs keep transparent areas; otherwise they are filled with white</source>
        <translation>PNG の出力ファイルでは透明部分を残します。それ以外の場合は白で塗りつぶします</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Keep File Dat&amp;es</source>
        <translation>ファイルの日時を保持(&amp;E)</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Each output gets its original&apos;s modification time</source>
        <translation>出力ファイルの更新日時を元のファイルと同じにします</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Keep Folder &amp;Structure</source>
        <translation>フォルダー構成を保持(&amp;S)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Images found in a folder go to the same subfolder of the output folder</source>
        <translation>フォルダー内の画像を、出力フォルダー内の対応するサブフォルダーに保存します</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>S&amp;kip Files Already Converted</source>
        <translation>変換済みのファイルをスキップ(&amp;K)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Images converted before into the output folder with the same settings are left alone</source>
        <translation>同じ設定で出力フォルダーに変換済みの画像は、再変換せずそのままにします</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Lossless</source>
        <translation>ロスレス(&amp;L)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>No pixel changes: JPEG stays JPEG without re-encoding, or becomes JPEG XL that gives it back byte for byte; PNG, WebP, AVIF and JPEG XL are written losslessly, with colour profile and transparency. Not for HEIC or Auto</source>
        <translation>ピクセルを一切変えません: JPEGは再エンコードせずJPEGのまま、またはバイト単位で元に戻せるJPEG XLになり、PNG・WebP・AVIF・JPEG XLはカラープロファイルと透明度を保ってロスレスで書き出します。HEICと自動では使えません</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Auto Tries JPEG &amp;XL</source>
        <translation>自動で JPEG XL も試す(&amp;X)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Auto also tries JPEG XL for each image. Not every image viewer opens JPEG XL files yet</source>
        <translation>自動で各画像に JPEG XL も試します。JPEG XL ファイルをまだ開けない画像ビューアもあります</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Auto at &amp;Best Effort</source>
        <translation>自動で時間をかけて最適化(&amp;B)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>When Auto picks AVIF or JPEG XL, the chosen quality is encoded once more with the encoder&apos;s slower setting, and the smaller file that still looks the same is kept. Auto then takes more than twice as long</source>
        <translation>自動で AVIF または JPEG XL が選ばれたとき、選んだ品質でエンコーダーの低速な設定を使ってもう一度エンコードし、見た目が変わらない小さい方のファイルを残します。自動の処理時間は 2 倍以上になります</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Check &amp;Quality</source>
        <translation>品質を確認(&amp;Q)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Each output is compared with its original and marked by how different it looks</source>
        <translation>各出力ファイルを元の画像と比較し、見た目の違いの程度を表示します</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>&amp;Minimum Saving</source>
        <translation>最小削減率(&amp;M)</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Any Saving</source>
        <extracomment>an output counts as smaller when it is smaller at all</extracomment>
        <translation>少しでも小さければ</translation>
    </message>
    <message>
        <location line="+3"/>
        <location line="+76"/>
        <source>At Least %1% Smaller</source>
        <extracomment>keep an output only when it is at least this much smaller</extracomment>
        <translation>%1% 以上小さくなったファイルのみ</translation>
    </message>
    <message>
        <location line="-64"/>
        <source>If an Output Is &amp;Not Smaller</source>
        <extracomment>what happens to an output that is not smaller than its original</extracomment>
        <translation>出力が小さくならない場合(&amp;N)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Keep the &amp;Original</source>
        <translation>元のファイルを保持(&amp;O)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The original goes to the output folder instead, without camera data unless that is kept</source>
        <translation>代わりに元のファイルを出力フォルダーに置きます (保持しない限りカメラのデータは除きます)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Skip the Image</source>
        <translation>画像をスキップ(&amp;S)</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Nothing is written for it</source>
        <translation>この画像には何も書き出しません</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Write the Output Anyway</source>
        <translation>それでも出力を書き出す(&amp;W)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The larger output is written all the same</source>
        <translation>大きくなった出力もそのまま書き出します</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Options</source>
        <translation>オプション</translation>
    </message>
    <message>
        <location line="+47"/>
        <source>O&amp;ptions (%1)</source>
        <extracomment>the options button; %1 is how many options differ from their defaults</extracomment>
        <translation>オプション (%1)(&amp;P)</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>O&amp;ptions</source>
        <translation>オプション(&amp;P)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 on</source>
        <translation>%1 件が有効</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::OutputFolderButton</name>
    <message>
        <location filename="../../src/views/output_folder_button.cpp" line="+19"/>
        <source>Cha&amp;nge Folder</source>
        <extracomment>opens a menu: choose a folder, a recent one, or the default</extracomment>
        <translation>フォルダーを変更(&amp;N)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Change Output Folder</source>
        <translation>出力フォルダーを変更</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>&amp;Choose Folder…</source>
        <translation>フォルダーを選択…(&amp;C)</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Recent Folders</source>
        <translation>最近のフォルダー</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>&amp;Default: compressed/ Next to the First File</source>
        <extracomment>the output folder when none is chosen: a &quot;compressed&quot; folder beside the first listed file</extracomment>
        <translation>既定: 最初のファイルの隣の compressed/(&amp;D)</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::OutputFolderRow</name>
    <message>
        <location filename="../../src/views/output_folder_row.cpp" line="+23"/>
        <source>Output:</source>
        <translation>出力先:</translation>
    </message>
    <message>
        <location line="+40"/>
        <source>compressed/ in %1</source>
        <extracomment>%1 is the folder the &quot;compressed&quot; folder is made in, e.g. ~/Pictures/2023</extracomment>
        <translation>%1 内の compressed/</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>(compressed/ folder next to the first file)</source>
        <translation>（最初のファイルと同じ場所の compressed/ フォルダー）</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Output folder: %1</source>
        <translation>出力フォルダー: %1</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::PresetsButton</name>
    <message>
        <location filename="../../src/views/presets_button.cpp" line="+27"/>
        <source>Pre&amp;sets</source>
        <extracomment>the menu of saved sets of every setting (format, quality, sizes, names, options)</extracomment>
        <translation>プリセット(&amp;S)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Presets</source>
        <translation>プリセット</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Saved sets of every setting but the output folder</source>
        <translation>出力フォルダー以外のすべての設定を保存したもの</translation>
    </message>
    <message>
        <location line="+60"/>
        <source>&amp;Save Current Settings as Preset…</source>
        <translation>現在の設定をプリセットとして保存(&amp;S)…</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Rename Preset</source>
        <translation>プリセットの名前を変更(&amp;R)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Delete Preset</source>
        <translation>プリセットを削除(&amp;D)</translation>
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
        <translation>組み込みのプリセットは名前の変更も削除もできません</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Name of the preset:</source>
        <translation>プリセットの名前:</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>A preset needs a name.</source>
        <translation>プリセットには名前が必要です。</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>A preset&apos;s name can have at most %1 characters.</source>
        <translation>プリセットの名前は %1 文字までです。</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>A preset&apos;s name cannot hold line breaks or control characters.</source>
        <translation>プリセットの名前に改行や制御文字は使えません。</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>“%1” is the name of a built-in preset.</source>
        <translation>「%1」は組み込みのプリセットの名前です。</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Save Preset</source>
        <translation>プリセットを保存</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>A preset named “%1” exists already. Replace it with the current settings?</source>
        <translation>「%1」という名前のプリセットはすでにあります。現在の設定で置き換えますか?</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Replace</source>
        <translation>置き換える(&amp;R)</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Rename Preset</source>
        <translation>プリセットの名前を変更</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Another preset is named “%1” already.</source>
        <translation>「%1」という名前のプリセットはほかにあります。</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Delete Preset</source>
        <translation>プリセットを削除</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Delete the preset “%1”? The current settings stay as they are.</source>
        <translation>プリセット「%1」を削除しますか? 現在の設定はそのままです。</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&amp;Delete</source>
        <translation>削除(&amp;D)</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::SettingsBar</name>
    <message>
        <location filename="../../src/views/settings_bar.cpp" line="+198"/>
        <source>Format</source>
        <translation>形式</translation>
    </message>
    <message>
        <location line="-144"/>
        <source>WebP: 75 to 85 suits photos; 100 keeps the most detail.</source>
        <translation>WebP: 写真には 75〜85 が適しています。100 では細部が最もよく残ります。</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>JPEG: 75 to 85 suits photos; below 50 blocks begin to show.</source>
        <translation>JPEG: 写真には 75〜85 が適しています。50 未満ではブロックノイズが目立ち始めます。</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>PNG: quality sets the colours: 64 up to 50, 128 up to 75, 256 above.</source>
        <translation>PNG: 品質で色数が決まります (50 以下は 64 色、75 以下は 128 色、それより上は 256 色)。</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>HEIC: looks like JPEG at the same number, at about half the size.</source>
        <translation>HEIC: 同じ数値の JPEG と同程度の見た目で、サイズは約半分です。</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>AVIF: 60 to 80 suits photos; 100 is nearly lossless.</source>
        <translation>AVIF: 写真には 60〜80 が適しています。100 はほぼロスレスです。</translation>
    </message>
    <message>
        <location line="+54"/>
        <source>Applies to the next batch</source>
        <extracomment>tooltip of the settings while a batch runs: they are fixed for it</extracomment>
        <translation>次のバッチから適用されます</translation>
    </message>
    <message>
        <location line="+59"/>
        <source>For&amp;mat:</source>
        <translation>形式(&amp;M):</translation>
    </message>
    <message>
        <location line="-111"/>
        <source>JPEG XL: 75 to 90 suits photos; 90 is what cjxl calls visually lossless.</source>
        <translation>JPEG XL: 写真には 75〜90 が適しています。90 は cjxl が「見た目にロスレス」とする値です。</translation>
    </message>
    <message>
        <location line="+118"/>
        <source>Smaller than JPEG at the same look, and holds a JPEG without any loss; not every image viewer opens it yet</source>
        <translation>同じ見た目で JPEG より小さく、JPEG をまったく劣化させずに収められます。まだ開けない画像ビューアもあります</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Auto</source>
        <extracomment>format menu: per image, the smallest format that looks the same</extracomment>
        <translation>自動</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Per image, the smallest of WebP, JPEG, AVIF and PNG that looks the same; quality sets how close</source>
        <translation>画像ごとに、WebP、JPEG、AVIF、PNG のうち見た目が同じで最も小さい形式を選びます。どこまで近づけるかは品質で決まります</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Same as Original</source>
        <extracomment>format menu: each image stays in its own format</extracomment>
        <translation>元と同じ</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>JPEG stays JPEG, PNG stays PNG, and so on; TIFF, BMP and GIF become PNG</source>
        <translation>JPEGはJPEG、PNGはPNGのままです。TIFF、BMP、GIFはPNGになります</translation>
    </message>
    <message>
        <location line="+30"/>
        <source>&amp;Quality:</source>
        <translation>品質(&amp;Q):</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Web Optimal</source>
        <translation>Web 向け</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Balance</source>
        <translation>バランス</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>High Quality</source>
        <translation>高画質</translation>
    </message>
    <message>
        <location line="+14"/>
        <location line="+7"/>
        <source>Quality</source>
        <translation>品質</translation>
    </message>
    <message>
        <location filename="../../src/views/settings_bar_rows.cpp" line="+60"/>
        <source>Resi&amp;ze</source>
        <translation>リサイズ(&amp;Z)</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Max &amp;width:</source>
        <translation>最大幅(&amp;W):</translation>
    </message>
    <message>
        <location line="+57"/>
        <source>&amp;Original</source>
        <translation>元の名前(&amp;O)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>C&amp;ustom</source>
        <translation>カスタム(&amp;U)</translation>
    </message>
    <message>
        <location line="+34"/>
        <source>Star&amp;t:</source>
        <translation>開始番号(&amp;T):</translation>
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
        <translation>自動: 見た目が「%1」の範囲で、各画像をできるだけ小さくします (スコア %2 以上)。</translation>
    </message>
    <message>
        <location filename="../../src/views/settings_bar_rows.cpp" line="-36"/>
        <source>Maximum width</source>
        <translation>最大幅</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Maximum height</source>
        <translation>最大高さ</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Max hei&amp;ght:</source>
        <translation>最大高さ(&amp;G):</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>any</source>
        <extracomment>shown in an empty size field</extracomment>
        <translation>指定なし</translation>
    </message>
    <message>
        <location line="+26"/>
        <source>Filename:</source>
        <translation>ファイル名:</translation>
    </message>
    <message>
        <location line="+33"/>
        <source>Prefi&amp;x:</source>
        <translation>接頭辞(&amp;X):</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Prefix</source>
        <translation>接頭辞</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Start number</source>
        <translation>開始番号</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::SettingsButton</name>
    <message>
        <location filename="../../src/views/settings_button.cpp" line="+14"/>
        <location line="+1"/>
        <source>Settings</source>
        <translation>設定</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::SettingsView</name>
    <message>
        <location filename="../../src/views/settings_view.cpp" line="+55"/>
        <location line="+10"/>
        <source>Settings</source>
        <translation>設定</translation>
    </message>
    <message>
        <location line="+21"/>
        <location line="+18"/>
        <source>Language</source>
        <translation>言語</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Output:</source>
        <translation>出力先:</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Reset to Default</source>
        <translation>デフォルトに戻す</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Default</source>
        <extracomment>Shown instead of the reset button while no output folder is chosen.</extracomment>
        <translation>デフォルト</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>Please restart Quorvane for the language change to take effect.</source>
        <translation>言語の変更を反映するには Quorvane を再起動してください。</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
    <message>
        <location line="+29"/>
        <source>(compressed/ folder next to the first file)</source>
        <translation>（最初のファイルと同じ場所の compressed/ フォルダー）</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::SummaryView</name>
    <message>
        <location filename="../../src/views/summary_view.cpp" line="+57"/>
        <source>Conversion progress</source>
        <translation>変換の進行状況</translation>
    </message>
    <message>
        <location line="+49"/>
        <source>less than a minute left</source>
        <translation>残り 1 分未満</translation>
    </message>
    <message numerus="yes">
        <location line="+4"/>
        <source>about %n seconds left</source>
        <translation>
            <numerusform>残り約 %n 秒</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>about %n min left</source>
        <translation>
            <numerusform>残り約 %n 分</numerusform>
        </translation>
    </message>
    <message>
        <location line="+12"/>
        <source>%1 of %2 converted</source>
        <translation>%2 件中 %1 件を変換済み</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 failed</source>
        <translation>%1 件失敗</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 skipped</source>
        <extracomment>images not kept (too little saving) or converted before</extracomment>
        <translation>%1 件スキップ</translation>
    </message>
    <message numerus="yes">
        <location line="+5"/>
        <source>%n original(s) kept</source>
        <extracomment>images whose converted file would have been larger: the original was kept</extracomment>
        <translation>
            <numerusform>元のファイル %n 件を保持</numerusform>
        </translation>
    </message>
    <message>
        <location line="+35"/>
        <source>%1 of %2</source>
        <extracomment>the batch&apos;s progress for screen readers, e.g. &quot;3 of 20&quot;</extracomment>
        <translation>%2 件中 %1 件</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::UpdateResultDialog</name>
    <message>
        <location filename="../../src/app/update_result_dialog.cpp" line="+15"/>
        <source>Check for Updates</source>
        <translation>アップデートの確認</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Quorvane %1 is available.</source>
        <extracomment>%1 is a version number such as 1.2.0.</extracomment>
        <translation>Quorvane %1 が利用可能です。</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>You have version %1.</source>
        <extracomment>%1 is the version number of the running copy.</extracomment>
        <translation>現在のバージョンは %1 です。</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Download</source>
        <translation>ダウンロード</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>You&apos;re up to date.</source>
        <translation>お使いのバージョンは最新です。</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Quorvane %1 is the newest version.</source>
        <extracomment>%1 is a version number such as 1.2.0.</extracomment>
        <translation>Quorvane %1 が最新バージョンです。</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Could not check for updates: %1</source>
        <extracomment>%1 says what went wrong, e.g. &quot;Connection refused&quot;.</extracomment>
        <translation>アップデートを確認できませんでした: %1</translation>
    </message>
</context>
</TS>
