<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>ConversionError</name>
    <message>
        <location filename="../../src/services/conversion_errors.cpp" line="+17"/>
        <source>Cancelled</source>
        <translation>キャンセルされました</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Process exited with code %1: %2</source>
        <extracomment>%1 is the tool&apos;s exit status, %2 what it wrote to its error output</extracomment>
        <translation>プロセスがコード %1 で終了しました: %2</translation>
    </message>
    <message>
        <location line="+3"/>
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
        <location filename="../../src/services/image_converter.cpp" line="+50"/>
        <location filename="../../src/services/staged_output.cpp" line="+24"/>
        <source>Cannot write the output file</source>
        <translation>出力ファイルに書き込めません</translation>
    </message>
    <message>
        <location line="+183"/>
        <source>Cannot create the output folder</source>
        <translation>出力フォルダーを作成できません</translation>
    </message>
    <message>
        <location filename="../../src/services/process_runner.cpp" line="+107"/>
        <source>terminated by signal %1 (%2)</source>
        <extracomment>%1 is a signal number, %2 its description such as &quot;Segmentation fault&quot;</extracomment>
        <translation>シグナル %1 (%2) により終了</translation>
    </message>
    <message>
        <location line="+50"/>
        <source>Cannot start %1</source>
        <translation>%1 を起動できません</translation>
    </message>
    <message>
        <location filename="../../src/viewmodels/conversion_view_model.cpp" line="+175"/>
        <source>Not enough memory</source>
        <translation>メモリが不足しています</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Conversion failed</source>
        <translation>変換に失敗しました</translation>
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
    <name>quorvane::core::ConversionViewModel</name>
    <message>
        <location filename="../../src/viewmodels/conversion_view_model.cpp" line="-107"/>
        <source>Cancelling conversion</source>
        <translation>変換をキャンセルしています</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::CheckForUpdatesViewModel</name>
    <message>
        <location filename="../../src/app/check_for_updates_view_model.cpp" line="+120"/>
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
    <name>quorvane::gui::ContentView</name>
    <message>
        <location filename="../../src/views/content_view.cpp" line="+122"/>
        <source>Open in File Manager</source>
        <translation>ファイルマネージャーで開く</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Clear</source>
        <translation>クリア</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Start Conversion</source>
        <translation>変換を開始</translation>
    </message>
    <message>
        <location line="+57"/>
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
        <location filename="../../src/views/drop_zone_compact.cpp" line="+14"/>
        <source>Drop image files here</source>
        <translation>ここに画像ファイルをドロップ</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Add images (drag &amp; drop)</source>
        <translation>画像を追加（ドラッグ＆ドロップ）</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::DropZoneView</name>
    <message>
        <location filename="../../src/views/drop_zone_view.cpp" line="+24"/>
        <source>Images (%1)</source>
        <translation>画像 (%1)</translation>
    </message>
    <message>
        <location line="+5"/>
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
        <location line="+34"/>
        <source>Select Files</source>
        <translation>ファイルを選択</translation>
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
        <translation>ファイル</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Convert</source>
        <translation>変換</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Size</source>
        <translation>サイズ</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Ratio</source>
        <translation>削減率</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Status</source>
        <translation>状態</translation>
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
        <translation>待機中</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Converting</source>
        <translation>変換中</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Done</source>
        <translation>完了</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Cancelled</source>
        <translation>キャンセル済み</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Error</source>
        <translation>エラー</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::FileListView</name>
    <message>
        <location filename="../../src/views/file_list_view.cpp" line="+19"/>
        <source>Images</source>
        <translation>画像</translation>
    </message>
    <message>
        <location line="+69"/>
        <source>Delete</source>
        <translation>リストから削除</translation>
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
        <translation>設定…</translation>
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
        <location line="+2"/>
        <source>Check for Updates…</source>
        <translation>アップデートを確認…</translation>
    </message>
    <message>
        <location line="+7"/>
        <location line="+18"/>
        <source>About Quorvane</source>
        <translation>Quorvane について</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&lt;h3&gt;Quorvane %1&lt;/h3&gt;&lt;p&gt;Makes image files smaller: WebP, JPEG, PNG, HEIC and AVIF, several at a time.&lt;/p&gt;</source>
        <translation>&lt;h3&gt;Quorvane %1&lt;/h3&gt;&lt;p&gt;画像ファイルを小さくします。WebP、JPEG、PNG、HEIC、AVIF に対応し、複数のファイルをまとめて変換できます。&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::SettingsBar</name>
    <message>
        <location filename="../../src/views/settings_bar.cpp" line="+114"/>
        <source>Format:</source>
        <translation>形式:</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Format</source>
        <translation>形式</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Quality:</source>
        <translation>品質:</translation>
    </message>
    <message>
        <location line="+3"/>
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
        <location line="+10"/>
        <source>Quality</source>
        <translation>品質</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Resize</source>
        <translation>リサイズ</translation>
    </message>
    <message>
        <location line="+39"/>
        <source>px</source>
        <translation>px</translation>
    </message>
    <message>
        <location line="-31"/>
        <source>Max width:</source>
        <translation>最大幅:</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Maximum width</source>
        <translation>最大幅</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Max height:</source>
        <translation>最大高さ:</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Maximum height</source>
        <translation>最大高さ</translation>
    </message>
    <message>
        <location line="+40"/>
        <source>Filename:</source>
        <translation>ファイル名:</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Original</source>
        <translation>元の名前</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Custom</source>
        <translation>カスタム</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>Prefix:</source>
        <translation>接頭辞:</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Prefix</source>
        <translation>接頭辞</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Start:</source>
        <translation>開始番号:</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Start number</source>
        <translation>開始番号</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Output:</source>
        <translation>出力先:</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Change Folder</source>
        <translation>フォルダーを変更</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Choose Output Folder</source>
        <translation>出力フォルダーを選択</translation>
    </message>
    <message>
        <location line="+64"/>
        <source>(compressed/ folder next to input files)</source>
        <translation>（入力ファイルと同じ場所の compressed/ フォルダー）</translation>
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
        <source>(compressed/ folder next to input files)</source>
        <translation>（入力ファイルと同じ場所の compressed/ フォルダー）</translation>
    </message>
</context>
<context>
    <name>quorvane::gui::SummaryView</name>
    <message>
        <location filename="../../src/views/summary_view.cpp" line="+53"/>
        <source>Converting...</source>
        <translation>変換中…</translation>
    </message>
    <message>
        <location line="+55"/>
        <source>%1/%2 files</source>
        <translation>%1/%2 ファイル</translation>
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
