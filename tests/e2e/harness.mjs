// Shared pieces of the browser journeys: a server on a free port with a temporary data
// folder, and Debian's Chromium driven by playwright-core with every dialog recorded.
import { spawn } from 'node:child_process';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { chromium } from 'playwright-core';

const CHROMIUM_FLAGS = [
  '--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync',
];

// Starts `binary` (the real program by default) on port 0 and waits for its address;
// `prepare(dataDir)` may fill the data folder first.
// `dataDirOption` false: the program takes no --data-dir (the folder is still made and removed).
export async function startServer({ binary = process.env.ZEZIZA_BIN, args = [], prepare,
                                    dataDirOption = true } = {}) {
  if (!binary) throw new Error('ZEZIZA_BIN is not set: run the journeys through ctest');
  const dataDir = mkdtempSync(join(tmpdir(), 'zeziza-e2e-'));
  if (prepare) await prepare(dataDir);
  const child = spawn(binary, ['--port', '0', ...(dataDirOption ? ['--data-dir', dataDir] : []), ...args],
                      { stdio: ['ignore', 'pipe', 'pipe'] });
  let output = '';
  const port = await new Promise((resolve, reject) => {
    const timer = setTimeout(() => reject(new Error('server did not start:\n' + output)), 20000);
    const onData = (chunk) => {
      output += chunk.toString();
      const m = output.match(/(?:listening |http:\/\/127\.0\.0\.1:)(\d+)/);
      if (m && Number(m[1]) > 0) { clearTimeout(timer); resolve(Number(m[1])); }
    };
    child.stdout.on('data', onData);
    child.stderr.on('data', onData);  // a server without a terminal logs there
    child.on('exit', (code) => { clearTimeout(timer); reject(new Error(`server exited ${code}:\n${output}`)); });
  });
  return {
    url: `http://127.0.0.1:${port}`,
    dataDir,
    output: () => output,
    async stop() {
      child.kill('SIGTERM');
      await new Promise((r) => { if (child.exitCode !== null) r(); else child.on('exit', r); });
      rmSync(dataDir, { recursive: true, force: true });
    },
  };
}

// A browser page whose alerts and confirms are recorded; confirms are answered by
// `answerConfirm` (true: OK).
export async function openBrowser() {
  const browser = await chromium.launch({ executablePath: '/usr/bin/chromium', args: CHROMIUM_FLAGS });
  const context = await browser.newContext({ viewport: { width: 1000, height: 760 } });
  const page = await context.newPage();
  const dialogs = [];
  const session = { browser, page, dialogs, answerConfirm: true };
  page.on('dialog', async (dialog) => {
    dialogs.push({ type: dialog.type(), message: dialog.message() });
    if (dialog.type() === 'confirm' && !session.answerConfirm) await dialog.dismiss();
    else await dialog.accept();
  });
  session.close = () => browser.close();
  // Waits until the page has loaded and its after-load script (alerts, focus) has run.
  session.settled = async () => {
    await page.waitForLoadState('load');
    // The client script marks the page once its after-load work has run; pages without it
    // (the results site's) are settled when loaded.
    await page.waitForFunction(() => document.readyState === 'complete' &&
      (document.documentElement.hasAttribute('data-iw-ready') ||
       !document.querySelector('script[src^="/js/zeziza.js"]')));
  };
  // Clicks an element that submits the page and waits for the answer.
  session.submitBy = async (selector) => {
    await Promise.all([page.waitForNavigation(), page.click(selector)]);
    await session.settled();
  };
  return session;
}
